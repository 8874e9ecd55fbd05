// Writes and reads a ~100 KB rich-text document (mixed formatting, a 20-row table) and prints
// the median times.
#include "rtf/RichTextCodec.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace norvelle;

namespace {

QTextCharFormat formatNumber(int n)
{
    QTextCharFormat format;
    format.setFontPointSize(10 + n % 8);
    format.setFontWeight(n % 3 == 0 ? 700 : n % 5 == 0 ? 600
                                                       : 400);
    format.setFontItalic(n % 4 == 1);
    format.setFontUnderline(n % 7 == 2);
    format.setFontStrikeOut(n % 11 == 3);
    if (n % 6 == 0)
        format.setForeground(QColor::fromHsv((n * 37) % 360, 200, 180));
    if (n % 9 == 0)
        format.setBackground(QColor::fromHsv((n * 53) % 360, 60, 250, 200));
    if (n % 13 == 0)
        format.setFontFamilies({"DejaVu Serif"});
    return format;
}

void addTable(QTextCursor& cursor)
{
    QTextTableFormat format;
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 20), QTextLength(QTextLength::PercentageLength, 30),
        QTextLength(QTextLength::PercentageLength, 25), QTextLength(QTextLength::PercentageLength, 25)});
    QTextTable* table = cursor.insertTable(20, 4, format);
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 4; ++column) {
            QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
            cell.insertText(QStringLiteral("Cell %1.%2 with some text").arg(row).arg(column), formatNumber(row + column));
            if (column == 1) {
                cell.insertBlock();
                cell.insertText(QString::fromUtf8("second paragraph ✓"), formatNumber(row));
            }
        }
    }
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
}

std::unique_ptr<QTextDocument> makeDocument()
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    const QString words = QString::fromUtf8("The quick brown fox jumps over the lazy dog, café — “quoted” ");
    int run = 0;
    for (int paragraph = 0; paragraph < 260; ++paragraph) {
        if (paragraph == 130)
            addTable(cursor);
        QTextBlockFormat block;
        block.setAlignment(paragraph % 4 == 0 ? Qt::AlignJustify : Qt::AlignLeft);
        block.setBottomMargin(paragraph % 3 * 2);
        if (paragraph > 0 || run > 0)
            cursor.insertBlock(block);
        for (int i = 0; i < 4; ++i)
            cursor.insertText(words.mid(i * 7, 40) + "\t", formatNumber(run++));
    }
    return document;
}

double medianMs(const std::function<void()>& work, int runs = 31)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto document = makeDocument();
    const QByteArray rtf = RichTextCodec::writeRtf(*document);
    std::printf("document: %lld bytes of RTF, %d characters, 20-row table\n", qint64(rtf.size()),
        document->characterCount());

    const double write = medianMs([&] { RichTextCodec::writeRtf(*document); });
    const double read = medianMs([&] { RichTextCodec::readRtf(rtf); });
    const double plain = medianMs([&] { RichTextCodec::plainText(rtf); });
    std::printf("write (median of 31): %.2f ms  [target < 5 ms]\n", write);
    std::printf("read  (median of 31): %.2f ms  [target < 5 ms]\n", read);
    std::printf("plain text extraction (median of 31): %.2f ms\n", plain);
    return 0;
}
