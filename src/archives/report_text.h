#pragma once
// The growing text of one report: fixed-width values with their markers, rules, and the sections
// the value, totals and current-values reports share. Lines end in CR LF; the text stays UTF-8
// in memory and becomes windows-1251 only where it is written to a file.

#include <cstdint>

#include <QString>

#include "archives/flag_markers.h"

class ReportText {
public:
    ReportText();

    void Add(const QString& text) { m_text += text; }
    void Add(const char* utf8) { m_text += QString::fromUtf8(utf8); }
    void Line(const char* utf8);  // the text and CR LF
    void EndLine();
    void Rule();                          // 147 underscores
    void TableHead(const char* columns);  // a rule and the column heads

    // "Труба %d:   " and "ТВ %d:   " with a number counted from 1.
    void PipeHead(int pipeNumber);
    void InputHead(int inputNumber);

    // FormatValue padded to the width, then the quantity's marker positions.
    void Value(double value, int decimals, int width, FlaggedQuantity quantity, std::uint16_t flags,
               int positions = kMarkerPositions);
    // FormatValue padded to the width, nothing after it.
    void Value(double value, int decimals, int width);
    // An integer left-aligned in 8 characters ("%-8d"; longer numbers are not cut).
    void Integer(std::uint32_t value);

    // CR LF, rule, the ДП head, "ТВ 3:   " with the value (and its markers, if any), rule, two CR LF.
    void DpSection(double value, int width, const QString& markers);
    // The three power counters and an empty line.
    void Counters(std::uint32_t network, std::uint32_t display, std::uint32_t powerOff);
    // "Активная БД: %-8d" with the set counted from 1.
    void ActiveSet(int setNumber);
    // "СОБЫТИЯ:", the names of the set bits, an empty line and the abstract controls in hex.
    void EventsAndControls(std::uint16_t events, std::uint16_t abstractControls);

    QString Take() { return std::move(m_text); }

private:
    QString m_text;
};
