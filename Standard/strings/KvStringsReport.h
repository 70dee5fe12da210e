#pragma once

#include "KvStringsList.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

class QPaintDevice;
class QPrinter;
class TKvPkgStringsItem;

// The printed report of one list of a strings package.

// The report's lines for the rows a list shows, in its order: the heading, a blank line, then
// per row "id - text" (labels with a hint that is not blank add " *Hint = " and the hint) and a
// blank line. A blank line holds one blank.
QStringList KvStringsReportLines(TKvStringsKind Kind, const std::vector<const TKvPkgStringsItem*>& Rows);

// The report set on pages: every page starts with a header (the title on the left, "Page N of
// M" on the right), then the lines. A line too wide for the page wraps, a text's own line
// breaks start new lines, and a line's wrapped parts stay on one page when they fit on one.
struct TKvReportLine
{
    int Y = 0; // the top of the line, in device pixels from the top of the page
    QString Text;
};
struct TKvReportPage
{
    QString Header;
    QString PageText; // "Page N of M"
    std::vector<TKvReportLine> Lines;
};
struct TKvReportLayout
{
    QFont Font;
    int LineHeight = 0;
    int HeaderHeight = 0; // the header and the gap under it
    std::vector<TKvReportPage> Pages;
};
// PageWidth and PageHeight are the printable area in pixels of Device, whose resolution the
// font is measured in.
TKvReportLayout KvLayoutReport(const QString& Title, const QStringList& Lines, QPaintDevice* Device, int PageWidth,
                               int PageHeight);

// Prints the report on Printer (already set up) in a 10-point font; gives the number of pages.
// Raises when the printer cannot start.
int KvPrintStringsReport(QPrinter& Printer, const QString& Title, const QStringList& Lines);
