#pragma once
// The configuration part of the page tree, below the frame "Конфигурирование": "Система" (with the
// tab "Сервис"), then for each parameter set its node, its "Тепловые вводы" and its two inputs with
// their "Общие" and "Трубы 1...3", and "Контроли и алармы". The labels of the set and input nodes
// follow the configuration (config/config_page_labels.h has the ids and the label rules).

#include <QObject>

class CDlgMainConfigSystem;
class PageHost;
class PageTree;

class ConfigPageTree : public QObject {
    Q_OBJECT

public:
    ConfigPageTree(PageTree& pages, PageHost& host, QObject* parent = nullptr);

    // Adds every configuration page below the frame (page id 0), labelled from the configuration.
    void Build();
    // Sets the set and input labels from the driver's configuration.
    void Relabel();

    CDlgMainConfigSystem* System() const { return m_system; }

signals:
    void relabelled();

private:
    void AddSet(int set);

    PageTree& m_pages;
    PageHost& m_host;
    CDlgMainConfigSystem* m_system = nullptr;
};
