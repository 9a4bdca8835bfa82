#pragma once
// Typed keys of the settings store. A subsystem opens its section once and names each key with its
// type and default in one place, so the spelling and the default cannot drift between readers:
//
//   const SettingsSection screen = SettingsSection(store, kSectionScreen).Child(QStringLiteral("MainDialog"));
//   const SettingValue<int> splitter = screen.Value(QStringLiteral("SplitterPosition"), -1000);
//   splitter.Set(splitter.Get() + 10);

#include "base/settings_store.h"

#include <QByteArray>
#include <QString>

#include <type_traits>

template <typename T>
class SettingValue {
    static_assert(std::is_same_v<T, int> || std::is_same_v<T, QString> || std::is_same_v<T, QByteArray>,
                  "the store keeps integers, strings and binary values");

public:
    SettingValue(SettingsStore& store, QString section, QString key, T defaultValue)
        : m_store(&store), m_section(std::move(section)), m_key(std::move(key)), m_default(std::move(defaultValue))
    {}

    T Get() const
    {
        if constexpr (std::is_same_v<T, int>)
            return m_store->GetInt(m_section, m_key, m_default);
        else if constexpr (std::is_same_v<T, QString>)
            return m_store->GetString(m_section, m_key, m_default);
        else
            return m_store->GetBinary(m_section, m_key, m_default);
    }

    // False when the file could not be written (SettingsStore::LastError says why).
    bool Set(const T& value) const
    {
        if constexpr (std::is_same_v<T, int>)
            return m_store->SetInt(m_section, m_key, value);
        else if constexpr (std::is_same_v<T, QString>)
            return m_store->SetString(m_section, m_key, value);
        else
            return m_store->SetBinary(m_section, m_key, value);
    }

    bool IsStored() const { return m_store->Contains(m_section, m_key); }
    // Forgets the stored value, so that Get() gives the default again; true when nothing was stored.
    bool Remove() const { return !IsStored() || m_store->RemoveKey(m_section, m_key); }
    const T& DefaultValue() const { return m_default; }
    const QString& Section() const { return m_section; }
    const QString& Key() const { return m_key; }

private:
    SettingsStore* m_store;
    QString m_section;
    QString m_key;
    T m_default;
};

// One section of the store, the prefix of a subsystem's keys.
class SettingsSection {
public:
    SettingsSection(SettingsStore& store, QString name) : m_store(&store), m_name(std::move(name)) {}

    // The section below this one: "Settings\Screen" + "Base" is "Settings\Screen\Base".
    SettingsSection Child(const QString& name) const { return SettingsSection(*m_store, m_name + u'\\' + name); }

    SettingValue<int> Value(const QString& key, int defaultValue) const
    {
        return {*m_store, m_name, key, defaultValue};
    }
    SettingValue<QString> Value(const QString& key, const QString& defaultValue) const
    {
        return {*m_store, m_name, key, defaultValue};
    }
    SettingValue<QByteArray> Value(const QString& key, const QByteArray& defaultValue) const
    {
        return {*m_store, m_name, key, defaultValue};
    }

    const QString& Name() const { return m_name; }
    SettingsStore& Store() const { return *m_store; }

private:
    SettingsStore* m_store;
    QString m_name;
};
