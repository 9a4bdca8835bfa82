#include "fault_plan.h"

namespace {
const char* const kNames[kFaultKindCount] = {"drop", "corrupt", "delay", "late", "echo", "garbage", "close", "swap"};
}

QString FaultPlan::KindName(FaultKind kind)
{
    return QString::fromLatin1(kNames[static_cast<int>(kind)]);
}

bool FaultPlan::KindFromName(const QString& name, FaultKind* kind)
{
    for (int i = 0; i < kFaultKindCount; ++i) {
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0) {
            *kind = static_cast<FaultKind>(i);
            return true;
        }
    }
    return false;
}

QString FaultPlan::AddRule(const QString& text)
{
    const int eq = text.indexOf(QLatin1Char('='));
    FaultKind kind{};
    if (eq <= 0 || !KindFromName(text.left(eq), &kind))
        return QStringLiteral("неизвестный вид сбоя: \"%1\" (drop, corrupt, delay, late, echo, garbage, close, swap)")
            .arg(text);
    QString value = text.mid(eq + 1).trimmed();
    FaultRule rule;
    bool ok = false;
    if (value.endsWith(QLatin1Char('x'))) {
        rule.count = value.chopped(1).toInt(&ok);
        ok = ok && rule.count >= 0;
    } else if (value.endsWith(QLatin1Char('%'))) {
        rule.rate = value.chopped(1).toDouble(&ok) / 100.0;
        ok = ok && rule.rate >= 0.0 && rule.rate <= 1.0;
    } else {
        rule.rate = value.toDouble(&ok);
        ok = ok && rule.rate >= 0.0 && rule.rate <= 1.0;
    }
    if (!ok)
        return QStringLiteral("неверная частота сбоя: \"%1\" (доля 0..1, проценты \"10%\" или число раз \"3x\")")
            .arg(text);
    SetRule(kind, rule);
    return {};
}

bool FaultPlan::Any() const
{
    for (const FaultRule& rule : m_rules) {
        if (rule.rate > 0.0 || rule.count > 0)
            return true;
    }
    return false;
}

bool FaultPlan::Strike(FaultKind kind)
{
    const int index = static_cast<int>(kind);
    const FaultRule& rule = m_rules[index];
    if (rule.count > 0) {
        if (m_struck[index] >= rule.count)
            return false;
        ++m_struck[index];
        return true;
    }
    if (rule.rate <= 0.0)
        return false;
    // Rate rules draw once per answer each, so a given seed replays the same faults.
    const double draw = std::generate_canonical<double, 32>(m_random);
    return draw < rule.rate;
}
