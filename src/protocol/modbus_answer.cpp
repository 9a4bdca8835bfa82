#include "protocol/modbus_answer.h"

#include "base/checksums.h"
#include "base/value_text.h"
#include "channel/channel_types.h"
#include "channel/wire_framing.h"
#include "protocol/modbus_requests.h"

#include <algorithm>
#include <cstring>

namespace {

// Codes 1..8 are those of the Modbus standard, the others the meter's own.
constexpr ValueText kExceptionTexts[] = {
    {1, "Недопустимая функция ModBus!"},
    {2, "Недопустимый адрес в запросе!"},
    {3, "Недопустимые значения в поле данных запроса!"},
    {4, "Устройство не может выполнить операцию!"},
    {5, "Устройство уведомило о том, что запрос обработан, но выполнение займет длительное время!"},
    {6, "Запрос не может быть обработан сейчас, повторите запрос позднее!"},
    {7, "Устройство не может выполнить операцию (2)!"},
    {8, "Обнаружена ошибка четности при чтении памяти!"},
    {9, "Устройство не готово!"},
    {10, "При чтении запрошено больше регистров чем допустимо!"},
    {11, "Сделана попытка записи большего количества регистров, чем допустимо!"},
    {12, "Недопустимый начальный адрес!"},
    {13, "Недопустимый конечный адрес!"},
    {14, "Адрес доступен только для чтения!"},
    {15, "Доступ запрещен!"},
    {16, "ошибка при обработке запроса!"},
    {128, "Список внешних устройств не сконфигурирован!"},
    {129, "Операция не выполнена из-за истечения тайм-аута!"},
    {130, "Ошибка выполнения!"},
    {131, "Настройки физических каналов ИМ не являются актуальными!"},
    {132, "Указанная дата вне диапазона архива прибора!"},
    {133, "Нет данных за указанную дату!"},
    {134, "Ошибка чтения из флэши!"},
    {135, "Ошибка записи во флэш память!"},
    {136, "Дать следующий фрагмент данных!"},
    {137, "Повторить переданный фрагмент данных!"},
    {138, "Остановить процесс передачи!"},
};

AnswerCheck Reject(const QString& message)
{
    return AnswerCheck{kAnswerReject, message};
}

AnswerCheck Reject(const char* message)
{
    return Reject(QString::fromUtf8(message));
}

// ASCII carries one LRC byte instead of the two CRC bytes, Modbus TCP no check at all.
int CorrectForFraming(int rtuLength, int framing)
{
    if (framing == kFramingAscii)
        return rtuLength - 1;
    if (framing == kFramingModbusTcp)
        return rtuLength - 2;
    return rtuLength;
}

AnswerCheck WrongCount(int received, int expected)
{
    return Reject(
        QString::asprintf("Принято неверное количество байт данных (принято %d, ожидалось %d)!", received, expected));
}

bool IsHandledFunction(std::uint8_t function)
{
    return function == Modbus::kReadHoldingRegisters || function == Modbus::kReadInputRegisters
        || function == Modbus::kWriteMultipleRegisters || function == Modbus::kReadFileRecord
        || function == Modbus::kReadWrite48;
}

int ExceptionCode(const std::uint8_t* answer, int answerLength)
{
    int code = answerLength > 2 ? answer[2] : 0;
    if ((answer[1] & ~Modbus::kExceptionBit) == Modbus::kReadWrite48 && code == 0 && answerLength > 3)
        code = answer[3];
    return code;
}

}  // namespace

QString ExceptionCodeText(int code)
{
    return TextOf(kExceptionTexts, unsigned(code),
                  QString::asprintf("Устройство вернуло необрабатываемый код ошибки (код %d)!", code));
}

AnswerCheck AnalyseAnswer(const std::uint8_t* request, int requestLength, const std::uint8_t* answer, int answerLength,
                          int framing)
{
    const std::uint8_t requestFunction = requestLength >= 2 ? request[1] : 0;
    // -1: the request's function has no length rule.
    const int expectedRtu = ExpectedRtuAnswerLength(request, requestLength);
    // Without a function byte nothing else can be judged.
    if (answerLength < 2)
        return WrongCount(answerLength, CorrectForFraming(std::max(expectedRtu, 0), framing));

    const std::uint8_t function = answer[1];
    // A late answer to an earlier 0x48 request: the caller listens on for the right one.
    if ((function & ~Modbus::kExceptionBit) == Modbus::kReadWrite48 && requestFunction == Modbus::kReadWrite48
        && answerLength >= Modbus::k48SequenceInAnswer + 2 && requestLength >= Modbus::k48SequenceInRequest + 2
        && GetBigEndian16(answer + Modbus::k48SequenceInAnswer)
            != GetBigEndian16(request + Modbus::k48SequenceInRequest))
        return AnswerCheck{kAnswerSequenceMismatch, {}};

    if (function & Modbus::kExceptionBit) {
        AnswerCheck refusal = Reject(ExceptionCodeText(ExceptionCode(answer, answerLength)));
        refusal.exception = true;
        return refusal;
    }

    if (!IsHandledFunction(function))
        return Reject("Необрабатываемый код функции при анализе ответа!");

    if (function == Modbus::kWriteMultipleRegisters
        && (answerLength < 6 || requestLength < 6 || std::memcmp(answer + 2, request + 2, 4) != 0))
        return Reject("Неправильный формат ответа для функции 0x10!");

    if (function != requestFunction)
        return Reject("Неправильный код функции в ответе!");

    // The function is the request's, so the request tells the length.
    const int expected = CorrectForFraming(expectedRtu, framing);
    if (expectedRtu >= 0 && answerLength != expected)
        return WrongCount(answerLength, expected);
    return AnswerCheck{kAnswerAccept, {}};
}
