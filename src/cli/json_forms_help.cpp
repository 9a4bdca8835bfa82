#include "cli/json_forms_help.h"

std::vector<std::pair<QString, QString>> JsonFormsHelp()
{
    const auto form = [](const char* command, const char* text) {
        return std::pair{QString::fromUtf8(command), QString::fromUtf8(text)};
    };
    return {
        form("общее",
             "Числа выводятся числами, отсутствующее значение - null. Даты прибора - как их хранит прибор, "
             "ГГГГ-ММ-ДДTЧЧ:ММ:СС без часового пояса; даты компьютера - ISO 8601 со смещением от UTC. Один "
             "объект выводится с отступами, записи потока - по объекту в строке (JSON Lines)."),
        form("info",
             "объект: version (текст \"АВ 1.3 ПВ 2.5\"), hardware_version, software_version (старший байт - "
             "старшая цифра), software_checksum, model (\"04\"), serial (заводской номер), firmware_level."),
        form("descriptors",
             "объект: archives с ключами hour, day, month, totals, в каждом first_record, last_record (дата или "
             "null для пустого архива), max_records, write_index (индекс для записи, с 0), record_size (байт), "
             "wrapped (архив закольцован); event_logs с ключами db, admin, diag - те же поля без дат."),
        form("archive --date",
             "по строке на запись: ключи - столбцы таблицы архива в базе данных (Serial, Date, затем величины), "
             "Date - час записи, как в базе данных: \"ГГГГ-ММ-ДД ЧЧ:00\"; то же для периода --from/--to."),
        form("current",
             "объект: ключи названы, как столбцы таблицы архива в базе данных: Serial, Date (время показаний "
             "прибора), по трубам t, P, Go, Gm, Phi, h, Pipe_Ns (t1_1 ... t2_3), по входам Phi, hx, ta, tx, Px, "
             "dT, Wi_Ns (Phi_1, Phi_2), затем DP, DP_Ns, Events, AbstractCtrl, ActiveBd; с --repeat - по строке "
             "на чтение."),
        form("current --totals",
             "объект: ключи - столбцы таблицы итогового архива (Serial, Date - время показаний прибора, V, M, "
             "dM, Qwi, Qo, Qg, VNR, VOS, TVmin, TVmax, Tdt, Tnopwr, SI, KT3, FT, DP, MdbTotalCnt, DsplCnt, "
             "NoPwrCnt, ActiveBd; ResBits и то, чего прибор не передал, - null); с --repeat - по строке на "
             "чтение."),
        form("events",
             "по строке на запись: index (номер записи в журнале, с 0), time, quantity_type, context, "
             "value_kind (0 нет, 1-3 целое 1, 2, 4 байта, 4 float, 5-6 дата, 7 время), parameter_set (0 - БД1, "
             "1 - БД2), old_value, new_value (число, дата или \"ЧЧ:ММ:СС\"; null без значения)."),
        form("maker read", "объект: maker_id, serial_at_manufacture, model, manufactured (дата выпуска)."),
        form("service-centre read",
             "объект: display_serial, battery, variant, battery_resource_set_minutes, "
             "battery_resource_left_minutes, modbus_minutes, display_minutes (минуты)."),
        form("check",
             "объект: file, valid (true, когда проверки пройдены), missing (чего недостает в файле, или null). "
             "Нарушение называется в stderr."),
        form("write-config", "объект после записи: file, serial (заводской номер прибора из файла), written."),
        form("export-db",
             "объект: database, complete (архив выгружен целиком), total, written, already_there, archives с "
             "ключами hour, day, month, totals: total, written, already_there, not_stored, stopped_at (дата "
             "записи, на которой выгрузка остановилась, или null), other_dates (записи, на которые прибор "
             "отвечал чужой датой)."),
        form("collect",
             "объект: meters, meters_ok, meters_failed, meters_not_read, records_written, "
             "records_already_there, results - по объекту на прибор: node, line, serial, node_serial, notes, "
             "newest_future_date, written, already_there, error, started, finished."),
    };
}
