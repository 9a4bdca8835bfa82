// The parts of the report frame that a report may change: orientation, scale and style lines. The
// default frame is checked byte for byte with the settings report's expected file (tests/config).

#include <gtest/gtest.h>

#include "reports/report_template.h"
#include "support/qt_printers.h"

namespace {

TEST(ReportTemplate, OrientationScaleAndStyleLines)
{
    const QString portrait = ReportHeader({false, QStringLiteral("100"), {}});
    EXPECT_TRUE(portrait.contains(QStringLiteral("\tmso-footer-margin:.5in;\r\n\t}\r\n-->\r\n\r\n\r\n</style>\r\n")))
        << "the @page rule ends in a line of a tab and \"}\"; without style lines no extra line";
    EXPECT_TRUE(portrait.contains(QStringLiteral("      <x:Scale>100</x:Scale>\r\n")));
    EXPECT_FALSE(portrait.contains(QStringLiteral("##")));

    const QString landscape = ReportHeader({true, QStringLiteral("75"), {"p {color: red;}", "b {}"}});
    EXPECT_TRUE(landscape.contains(
        QStringLiteral("\tmso-footer-margin:.5in;\r\n\tmso-page-orientation:landscape;}\r\n-->\r\n\r\n"
                       "\r\np {color: red;}\r\nb {}\r\n\r\n</style>\r\n")));
    EXPECT_TRUE(landscape.contains(QStringLiteral("      <x:Scale>75</x:Scale>\r\n")));
    EXPECT_TRUE(landscape.endsWith(QStringLiteral("</HEAD>\r\n\r\n<BODY>\r\n\r\n\r\n")));
    EXPECT_EQ(ReportTail(), QStringLiteral("\r\n</BODY>\r\n</HTML>"));
}

TEST(ReportTemplate, StyleLinesTakeSizeAndFont)
{
    const QStringList lines = ReportStyleLines(10, QStringLiteral("Arial"));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[1],
              QStringLiteral("table th {border: solid 1px black; font-size: 10pt; font-family: 'Arial'; "
                             "text-align: center; white-space: nowrap;}"));
    EXPECT_EQ(lines[11], QStringLiteral("pre {font-size: 10pt; font-family: 'Arial';}"));
    EXPECT_EQ(lines[12], QStringLiteral("div {font-size: 10pt; font-family: 'Arial';}"));
    EXPECT_EQ(DefaultReportOptions().styleLines, ReportStyleLines(8, QStringLiteral("Courier New CYR")));
}

}  // namespace
