#include "sim_help.h"

namespace {

using Kind = HelpValueKind;

HelpOption Flag(const char* name, const char* help, char shortName = 0)
{
    return {shortName, QString::fromUtf8(name), {}, QString::fromUtf8(help), Kind::kNone, {}};
}

HelpOption Value(const char* name, const char* valueName, const char* help, Kind kind = Kind::kText)
{
    return {0, QString::fromUtf8(name), QString::fromUtf8(valueName), QString::fromUtf8(help), kind, {}};
}

HelpOption Choice(const char* name, const char* valueName, const char* choices, const char* help)
{
    return {0, QString::fromUtf8(name), QString::fromUtf8(valueName), QString::fromUtf8(help), Kind::kChoice,
            QString::fromUtf8(choices).split(QLatin1Char(' '))};
}

std::vector<HelpGroup> Groups()
{
    return {
        {QStringLiteral("Канал (один из)"),
         {Value("tcp", "HOST:PORT", "слушать TCP (PORT 0 - любой свободный)"),
          Value("max-clients", "N",
                "сколько клиентов TCP обслуживать одновременно (по умолчанию 4); лишние соединения "
                "принимаются и сразу закрываются"),
          Value("udp", "HOST:PORT", "принимать датаграммы UDP, отвечать отправителю"),
          Flag("pty", "создать псевдотерминал; путь к нему печатается в stdout"),
          Flag("modem-pty", "псевдотерминал с модемом перед прибором (см. \"Модем перед прибором\")"),
          Value("serial", "PATH", "открыть последовательный порт PATH", Kind::kFile),
          Value("baud", "N", "скорость порта для --serial (по умолчанию 115200)")}},
        {QStringLiteral("Протокол"),
         {Choice("framing", "ВИД", "rtu ascii ppp tcp",
                 "rtu|ascii|ppp|tcp: кадр на линии (tcp - заголовок MBAP); по умолчанию rtu"),
          Value("address", "N",
                "сетевой адрес прибора 1..247 (по умолчанию 1). Прибор отвечает на свой адрес и на адрес 0; "
                "запросы к другим адресам остаются без ответа")}},
        {QStringLiteral("Прибор"),
         {Choice("model", "МОДЕЛЬ", "01 02 03 04 04.1", "01|02|03|04|04.1: модель (по умолчанию 04)"),
          Value("serial-number", "N", "заводской номер (по умолчанию 170001)"),
          Value("firmware-level", "N", "уровень встроенного ПО (по умолчанию 515)"),
          Value("hw-version", "X.Y", "версия аппаратуры АВ (по умолчанию 1.3)"),
          Value("sw-version", "X.Y", "версия ПО ПВ (по умолчанию 2.5)")}},
        {QStringLiteral("Память прибора"),
         {Value("password", "ТЕКСТ", "пароль смены параметров и активной БД, до 5 знаков (по умолчанию 12345)"),
          Flag("blank-config",
               "начать с чистыми заводскими настройками (все тепловые вводы не используются) вместо настроек "
               "демонстрационного узла учета"),
          Flag("bad-tunes-crc", "начать с неверной контрольной суммой настроек"),
          Flag("bad-open-crc", "начать с неверной контрольной суммой настроек, не защищенных кнопкой Доступ"),
          Value("archive-days", "N", "длина архивов в сутках (по умолчанию 92)"),
          Value("archive-end", "ДАТА",
                "последняя часовая запись, ГГГГ-ММ-ДД[TЧЧ]; без этого параметра архивы заканчиваются текущим "
                "часом прибора и пополняются со временем")}},
        {QStringLiteral("Сбои (для проверки надежности обмена)"),
         {Value("fault", "ВИД=ЧАСТОТА",
                "ВИД: drop (нет ответа), corrupt (испорчен байт), delay (ответ позже тайм-аута), late (0x48: "
                "сначала ответ с прежним номером), echo (эхо запроса), garbage (мусор перед ответом), close "
                "(разрыв TCP); ЧАСТОТА: доля 0..1, проценты \"10%\" или \"3x\" - первые три ответа. Параметр "
                "можно повторять"),
          Value("seed", "N", "начальное число генератора сбоев, архивов, журналов и страниц flash (по умолчанию 1)"),
          Value("fault-delay-ms", "N", "задержка ответа для delay (по умолчанию 3500)"),
          Value("baud-delay", "N",
                "задерживать ответ на время линии на скорости N бод: запрос и ответ по 11 бит на символ и пауза "
                "3,5 символа после запроса RTU")}},
        {QStringLiteral("Модем перед прибором"),
         {Value("modem-speed", "N",
                "скорость, на которой модем понимает команды (по умолчанию 115200); на других скоростях он молчит"),
          Choice("modem-answer", "ИТОГ", "connect busy no-dialtone no-carrier",
                 "чем кончается набор номера: connect (по умолчанию), busy, no-dialtone, no-carrier"),
          Value("modem-guard-ms", "N", "пауза до и после \"+++\" (по умолчанию 1000)"),
          Value("modem-dial-ms", "N", "время от команды ATD до ее итога (по умолчанию 500)")}},
        {QStringLiteral("Эталонный стенд РКМ8 (автоматическая калибровка)"),
         {Value("stand", "pty|PATH",
                "стенд на своем псевдотерминале (pty) или порту PATH; его путь печатается в stdout строкой после "
                "адреса прибора. Без канала прибора работает только стенд. Стенд отвечает \"Ok\", неизвестные "
                "команды отклоняет (\"Er\"); установленные меры печатаются в stderr",
                Kind::kFile),
          Flag("stand-echo", "стенд повторяет команду перед ответом")}},
        {QStringLiteral("Программа"),
         {Flag("verbose", "журнал обмена (кадры в шестнадцатеричном виде) в stderr", 'v'),
          Flag("help", "эта справка", 'h'), Flag("version", "версия программы")}},
    };
}

}  // namespace

CommandLineHelp SimHelp()
{
    CommandLineHelp help;
    help.program = QStringLiteral("zt5-meter-sim");
    help.summary = QStringLiteral("имитатор теплосчетчика ЗТ5");
    help.synopsis = QStringLiteral("КАНАЛ [ПАРАМЕТРЫ]");
    help.description = QStringLiteral(
        "Отвечает на запросы Modbus (функции 3, 16 и 0x48) как прибор ЗТ5: настройки, часы, данные "
        "производителя и сервис-центра, архивы, журналы событий и страницы flash. Первая строка вывода "
        "говорит, где он слушает: путь псевдотерминала или HOST:PORT с занятым портом.\n\n"
        "С --modem-pty прибор стоит за имитатором модема Hayes (команды AT). Сигнал SIGUSR1 обрывает связь "
        "(NO CARRIER); SIGINT и SIGTERM завершают работу.");
    help.groups = Groups();
    help.footer = QStringLiteral("Коды завершения: 0 - работа завершена сигналом, 1 - канал не открылся, "
                                 "2 - ошибка в командной строке.");
    help.seeAlso = {QStringLiteral("zt5ctl(1)")};
    return help;
}

QString SimHelpText()
{
    return RenderHelpText(SimHelp());
}
