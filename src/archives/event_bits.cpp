#include "archives/event_bits.h"

#include <array>

namespace {

constexpr std::array<const char*, kNamedEventBits> kEventBitNames = {
    "Доступ",           // 0
    "Откл. ВП",         // 1
    "Батарея (напр.)",  // 2
    "Рестарт",          // 3
    "Уск.режим.",       // 4
    "Батарея (рес.)",   // 5
    "Перевод часов",    // 6
    "Вкл.дисплея",      // 7
    "Наж.клавиш",       // 8
    "Modbus",           // 9
    "",                 // 10
    "",                 // 11
    "",                 // 12
};

}  // namespace

QStringList EventBitLines(std::uint16_t events)
{
    QStringList lines;
    for (int bit = 0; bit < kNamedEventBits; ++bit) {
        if (events & (1u << bit))
            lines << QString::fromUtf8(kEventBitNames[static_cast<std::size_t>(bit)]);
    }
    return lines;
}
