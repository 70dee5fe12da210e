#include "KvVtUpdateSystemStrings.h"
#include "ui_KvVtUpdateSystemStrings.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "manager/KvVtPkgLoadSave.h"

#include <QDir>
#include <QFileInfo>

TFrUpdateSystemStrings::TFrUpdateSystemStrings(QWidget* Parent)
    : QDialog(Parent), FUi(new Ui::TFrUpdateSystemStrings)
{
    FUi->setupUi(this);
    connect(FUi->BtSearch, &QToolButton::clicked, this, &TFrUpdateSystemStrings::Search);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrUpdateSystemStrings::~TFrUpdateSystemStrings() = default;

bool TFrUpdateSystemStrings::Execute()
{
    FUi->EdFileName->setText(App && App->PkgLanguage() ? App->PkgLanguage()->LastUpdateFile() : QString());
    return exec() == QDialog::Accepted;
}

void TFrUpdateSystemStrings::Search()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Base File");
    Request.Filter = QStringLiteral("Language Files (*.lan)|*.lan|All Files (*.*)|*.*");
    Request.DefaultExt = QStringLiteral("lan");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (KvFileDialog(Request))
        FUi->EdFileName->setText(KvPkgKeyFileName(Request.FileName, KvGetInstallPackagesExists()));
}

void TFrUpdateSystemStrings::done(int Result)
{
    if (Result == QDialog::Accepted) {
        const QString Text = FUi->EdFileName->text();
        // The browse button leaves a bare name for files of the installed packages folder.
        const QString Path = QDir::isRelativePath(Text) ? QDir(KvGetInstallPackages()).filePath(Text) : Text;
        try {
            if (Text.trimmed().isEmpty() || !QFileInfo(Path).isFile() || !App)
                throw Exception(QStringLiteral("Invalidate FileName"));
            App->UpdateSystemPkgLanguage(Text, false);
        } catch (const Exception& E) {
            KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
            return;
        }
    }
    QDialog::done(Result);
}
