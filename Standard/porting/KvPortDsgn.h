#pragma once

#include "FormStreams.h"

#include <QString>
#include <QStringList>

class TComponent;

// Reads and rewrites the forms of the active project whether or not they are open in the
// designer: an open form is read from its designer, a closed one from its file.

// Fills Lines with the form text of FileName (any extension: the unit and form file names are
// derived from it) and reports the format the form is stored in. False when there is no form.
bool KvDelphiFormToFormText(const QString& FileName, QStringList& Lines, TStreamOriginalFormat& OriginalFormat);
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
