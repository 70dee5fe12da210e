#include "KvStringsReport.h"

#include "KvPkgStrings.h"
#include "SysUtils.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextLayout>

namespace {

const char* const Headings[] = {"**** Labels Report ****", "**** Messages Report ****", "**** Texts Report ****"};

// The parts of one report line as printed: its own line breaks, then wrapping at Width.
QStringList WrapLine(const QString& Line, const QFont& Font, QPaintDevice* Device, int Width)
{
    static const QRegularExpression Breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList Parts;
    for (const QString& Piece : Line.split(Breaks)) {
        if (Piece.isEmpty()) {
            Parts << Piece;
            continue;
        }
        QTextLayout Layout(Piece, Font, Device);
        QTextOption Option;
        Option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        Layout.setTextOption(Option);
        Layout.beginLayout();
        for (QTextLine L = Layout.createLine(); L.isValid(); L = Layout.createLine()) {
            L.setLineWidth(Width);
            Parts << Piece.mid(L.textStart(), L.textLength());
        }
        Layout.endLayout();
    }
    return Parts;
}

} // namespace

QStringList KvStringsReportLines(TKvStringsKind Kind, const std::vector<const TKvPkgStringsItem*>& Rows)
{
    const QString Blank = QStringLiteral(" ");
    QStringList Lines;
    Lines.reserve(qsizetype(Rows.size() * 2 + 2));
    Lines << QString::fromLatin1(Headings[int(Kind)]) << Blank;
    for (const TKvPkgStringsItem* Item : Rows) {
        QString Line = QString::number(Item->Id()) + QStringLiteral(" - ") + Item->Text();
        if (Kind == TKvStringsKind::Labels) {
            const QString& Hint = static_cast<const TKvPkgStringsLabel*>(Item)->Hint();
            if (!Hint.trimmed().isEmpty())
                Line += QStringLiteral(" *Hint = ") + Hint;
        }
        Lines << Line << Blank;
    }
    return Lines;
}

TKvReportLayout KvLayoutReport(const QString& Title, const QStringList& Lines, QPaintDevice* Device, int PageWidth,
                               int PageHeight)
{
    TKvReportLayout R;
    R.Font = QFont();
    R.Font.setPointSize(10);
    const QFontMetrics Metrics(R.Font, Device);
    R.LineHeight = std::max(1, Metrics.lineSpacing());
    R.HeaderHeight = R.LineHeight * 2;
    // Room for at least one line under the header, however small the page.
    const int Bottom = std::max(PageHeight, R.HeaderHeight + R.LineHeight);
    const int Width = std::max(PageWidth, Metrics.horizontalAdvance(QLatin1Char('W')) * 4);

    auto NewPage = [&] { R.Pages.emplace_back(); };
    NewPage();
    int Y = R.HeaderHeight;
    for (const QString& Line : Lines) {
        const QStringList Parts = WrapLine(Line, R.Font, Device, Width);
        const int Height = int(Parts.size()) * R.LineHeight;
        // Kept together when it fits on a page at all.
        if (Y + Height > Bottom && Y > R.HeaderHeight && R.HeaderHeight + Height <= Bottom) {
            NewPage();
            Y = R.HeaderHeight;
        }
        for (const QString& Part : Parts) {
            if (Y + R.LineHeight > Bottom && Y > R.HeaderHeight) {
                NewPage();
                Y = R.HeaderHeight;
            }
            R.Pages.back().Lines.push_back({Y, Part});
            Y += R.LineHeight;
        }
    }
    // A blank line that would start a page of its own is dropped.
    if (R.Pages.size() > 1 && std::all_of(R.Pages.back().Lines.begin(), R.Pages.back().Lines.end(),
                                          [](const TKvReportLine& L) { return L.Text.trimmed().isEmpty(); }))
        R.Pages.pop_back();
    const int Count = int(R.Pages.size());
    for (int I = 0; I < Count; ++I) {
        R.Pages[size_t(I)].Header = Title;
        R.Pages[size_t(I)].PageText = QStringLiteral("Page %1 of %2").arg(I + 1).arg(Count);
    }
    return R;
}

int KvPrintStringsReport(QPrinter& Printer, const QString& Title, const QStringList& Lines)
{
    Printer.setDocName(Title);
    const QRect Area = Printer.pageLayout().paintRectPixels(Printer.resolution());
    const TKvReportLayout Layout = KvLayoutReport(Title, Lines, &Printer, Area.width(), Area.height());
    QPainter P;
    if (!P.begin(&Printer))
        throw Exception(QStringLiteral("The printer cannot start the report"));
    P.setFont(Layout.Font);
    const int Ascent = QFontMetrics(Layout.Font, &Printer).ascent();
    bool First = true;
    for (const TKvReportPage& Page : Layout.Pages) {
        if (!First && !Printer.newPage())
            throw Exception(QStringLiteral("The printer cannot start a new page"));
        First = false;
        P.drawText(QPoint(0, Ascent), Page.Header);
        P.drawText(QRect(0, 0, Area.width(), Layout.LineHeight), Qt::AlignRight | Qt::AlignTop, Page.PageText);
        const int RuleY = Layout.LineHeight + Layout.LineHeight / 3;
        P.drawLine(0, RuleY, Area.width(), RuleY);
        for (const TKvReportLine& Line : Page.Lines)
            P.drawText(QPoint(0, Line.Y + Ascent), Line.Text);
    }
    P.end();
    return int(Layout.Pages.size());
}
