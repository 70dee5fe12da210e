#pragma once

#include "FormStreams.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class TComponent;

// Reads and rewrites the forms of the active project whether or not they are open in the
// designer: an open form is read from its designer, a closed one from its file.

// Fills Lines with the form text of FileName (any extension: the unit and form file names are
// derived from it) and reports the format the form is stored in. False when there is no form.
bool KvDelphiFormToFormText(const QString& FileName, QStringList& Lines, TStreamOriginalFormat& OriginalFormat);
// The same text in one piece. Filter, when given, sees the bytes of a form that is read from its
// file (not open in the designer) before they are converted, and may decline the form: false is
// returned then, as for a file without a form.
using TKvFormFilter = std::function<bool(const QByteArray& Data, TStreamOriginalFormat Format)>;
bool KvDelphiFormToText(const QString& FileName, QString& Text, TStreamOriginalFormat& OriginalFormat,
                        const TKvFormFilter& Filter = {});
// The same text as bytes: UTF-8 when Utf8 is set, else 8-bit (each byte one character), without
// a byte-order mark. What the package manager reads, without converting every form to UTF-16.
bool KvDelphiFormToTextBytes(const QString& FileName, QByteArray& Text, bool& Utf8,
                             TStreamOriginalFormat& OriginalFormat, const TKvFormFilter& Filter = {});
// Calls Line(index, line) for each line of a form text, as KvDelphiFormToFormText splits it: at
// CR LF, LF or CR, a final line break not starting another line. Stops when Line gives false.
template <class F>
void KvForEachFormLine(QStringView Text, F&& Line)
{
    const QChar* data = Text.data();
    const qsizetype size = Text.size();
    qsizetype start = 0;
    int index = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (c == u'\r' || c == u'\n') {
            if (!Line(index++, QStringView(data + start, i - start)))
                return;
            if (c == u'\r' && i + 1 < size && data[i + 1].unicode() == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < size)
        Line(index, QStringView(data + start, size - start));
}
// Writes Lines into the form file of FileName in OriginalFormat; raises when the text is not a
// valid form, leaving the file as it was.
bool KvDelphiFormTextToForm(const QStringList& Lines, const QString& FileName, TStreamOriginalFormat OriginalFormat);
// The live design-time root of the form when it is open in the designer, else none.
TComponent* KvDelphiDesignForm(const QString& FileName);

QString KvGetProjectName();
int KvGetModuleCount();
int KvGetFormCount();
// Appends the form file name (".dfm") of every module of the active project that has a form.
void KvGetFormNames(QStringList& List);
