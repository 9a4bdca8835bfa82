#include "reports/report_template.h"

namespace {

const char* const kCrLf = "\r\n";

// The page and its worksheet options as the spreadsheet program writes them itself; ##ORIENTATION##
// and ##SCALE## are filled in per report.
const char* const kHead[] = {
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"",
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"",
    "xmlns=\"http://www.w3.org/TR/REC-html40\">",
    "",
    "",
    "<HEAD>",
    "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">",
    "<meta name=ProgId content=Excel.Sheet>",
    "<meta name=Generator content=\"Microsoft Excel 9\">",
    "<TITLE>Отчет</TITLE>",
    "",
    "",
    "<style>",
    "<!--table",
    "\t{mso-displayed-decimal-separator:\"\\.\";",
    "\tmso-displayed-thousand-separator:;}",
    "@page",
    "\t{margin:.98in .79in .98in .79in;",
    "\tmso-header-margin:.5in;",
    "\tmso-footer-margin:.5in;",
    "\t##ORIENTATION##}",
    "-->",
    "",
};

const char* const kWorksheet[] = {
    "",
    "</style>",
    "",
    "<!--<STYLE [TYPE=\"text/css\"]>",
    "</STYLE>-->",
    "",
    "<!--[if gte mso 9]><xml>",
    " <x:ExcelWorkbook>",
    "  <x:ExcelWorksheets>",
    "   <x:ExcelWorksheet>",
    "    <x:Name>xls</x:Name>",
    "    <x:WorksheetOptions>",
    "     <x:Print>",
    "      <x:ValidPrinterInfo/>",
    "      <x:PaperSizeIndex>9</x:PaperSizeIndex>",
    "      <x:Scale>##SCALE##</x:Scale>",
    "      <x:HorizontalResolution>1200</x:HorizontalResolution>",
    "      <x:VerticalResolution>1200</x:VerticalResolution>",
    "     </x:Print>",
    "     <x:PageBreakZoom>60</x:PageBreakZoom>",
    "     <x:Selected/>",
    "     <x:DoNotDisplayGridlines/>",
    "     <x:Panes>",
    "      <x:Pane>",
    "       <x:Number>3</x:Number>",
    "       <x:ActiveRow>30</x:ActiveRow>",
    "       <x:ActiveCol>4</x:ActiveCol>",
    "      </x:Pane>",
    "     </x:Panes>",
    "     <x:ProtectContents>False</x:ProtectContents>",
    "     <x:ProtectObjects>False</x:ProtectObjects>",
    "     <x:ProtectScenarios>False</x:ProtectScenarios>",
    "    </x:WorksheetOptions>",
    "   </x:ExcelWorksheet>",
    "  </x:ExcelWorksheets>",
    "  <x:WindowHeight>8835</x:WindowHeight>",
    "  <x:WindowWidth>15180</x:WindowWidth>",
    "  <x:WindowTopX>120</x:WindowTopX>",
    "  <x:WindowTopY>105</x:WindowTopY>",
    "  <x:ProtectStructure>False</x:ProtectStructure>",
    "  <x:ProtectWindows>False</x:ProtectWindows>",
    " </x:ExcelWorkbook>",
    "</xml><![endif]-->",
    "</HEAD>",
    "",
    "<BODY>",
    "",
    "",
};

template <std::size_t N>
QString Lines(const char* const (&lines)[N])
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QLatin1String(kCrLf);
    return text;
}

}  // namespace

QStringList ReportStyleLines(int fontSize, const QString& font)
{
    const auto withFont = [&](const char* rule) { return QString::fromUtf8(rule).arg(fontSize).arg(font); };
    return {
        QStringLiteral("table    {border: solid 0px black; border-collapse: collapse;}"),
        withFont("table th {border: solid 1px black; font-size: %1pt; font-family: '%2'; text-align: center; "
                 "white-space: nowrap;}"),
        QStringLiteral("table th.ltrb {border: solid 0px black;}"),
        QStringLiteral("table th.l {border-left: none;}"),
        QStringLiteral("table th.r {border-right: none;}"),
        QStringLiteral("table th.lr {border-left: none;border-right: none;}"),
        withFont("table td {border: solid 1px black; font-size: %1pt; font-family: '%2'; text-align: left; "
                 "white-space: nowrap;}"),
        QStringLiteral("table td.ltrb {border: solid 0px black;}"),
        QStringLiteral("table td.l {border-left: none;}"),
        QStringLiteral("table td.r {border-right: none;}"),
        QStringLiteral("table td.lr {border-left: none;border-right: none;}"),
        withFont("pre {font-size: %1pt; font-family: '%2';}"),
        withFont("div {font-size: %1pt; font-family: '%2';}"),
    };
}

ReportOptions DefaultReportOptions()
{
    return {false, QStringLiteral("100"), ReportStyleLines()};
}

QString ReportHeader(const ReportOptions& options)
{
    QString text = Lines(kHead);
    text.replace(QStringLiteral("##ORIENTATION##"),
                 options.landscape ? QStringLiteral("mso-page-orientation:landscape;") : QString());
    if (!options.styleLines.isEmpty()) {
        text += QLatin1String(kCrLf);
        for (const QString& line : options.styleLines)
            text += line + QLatin1String(kCrLf);
    }
    QString worksheet = Lines(kWorksheet);
    worksheet.replace(QStringLiteral("##SCALE##"), options.scale);
    return text + worksheet;
}

QString ReportTail()
{
    return QStringLiteral("\r\n</BODY>\r\n</HTML>");
}
