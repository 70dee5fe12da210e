#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Everything the designer asks the user or tells them in a box. Tests replace the functions.
struct TKvAppPrompts
{
    enum TSaveAnswer { Save, Discard, Cancel };

    // Files holds the forms with unsaved changes.
    std::function<TSaveAnswer(QWidget* Parent, const QStringList& Files)> AskSave;
    std::function<void(QWidget* Parent, const QString& Text)> ShowError;
    // The project file to open; empty when the user cancels.
    std::function<QString(QWidget* Parent, const QString& Folder)> ChooseProject;
    // The form file (or its unit) to open; empty when the user cancels.
    std::function<QString(QWidget* Parent, const QString& Folder)> ChooseForm;

    // Message boxes and the file dialog.
    static TKvAppPrompts Interactive();
};
