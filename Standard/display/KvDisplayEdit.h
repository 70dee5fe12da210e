#pragma once

#include "KvApplication.h"

#include <QPointer>
#include <QString>

// What the display package editor does to the application's display package, apart from its
// window: the texts it shows and the steps that make a change durable.
class TKvDisplayEdit
{
public:
    explicit TKvDisplayEdit(TKvCApplication* CApp = nullptr) : FCApp(CApp) {}

    TKvCApplication* CApp() const { return FCApp; }
    TKvPkgDisplay* Pkg() const;

    // After "FileName:", "Description:" and "InitMode:" ("FILE" for any mode but DFM).
    QString FileNameText() const;
    QString DescriptionText() const;
    QString InitModeText() const;

    // Reloads a file-backed package whose file changed on disk.
    void Reload();
    // Writes a file-backed package.
    void UpdateFile();
    // Tells the designer that the application's form changed.
    void Modified();

    // Around the editor of a part (sets, images): a change made in it is told to the designer
    // when the package lives in the form.
    void BeginPart();
    void EndPart();

    // After the load/save dialog confirmed: the designer is told, then the setup and display
    // packages write their files when they have them.
    void AfterLoadSave();
    // Reads any display file into the package (marked changed); raises and changes nothing when
    // the file cannot be read.
    void LoadFrom(const QString& FileName);
    void SaveTo(const QString& FileName) const;
    // Empties the three set lists and both images packages.
    void ClearAll();

private:
    void ModifiedIfInForm();
    QPointer<TKvCApplication> FCApp;
};
