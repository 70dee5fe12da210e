#include "KvVtUpdateSystemImages.h"
#include "ui_KvVtUpdateSystemImages.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvUtils.h"
#include "manager/KvVtPkgLoadSave.h"

#include <QDir>
#include <QFileInfo>

TFrUpdateSystemImages::TFrUpdateSystemImages(QWidget* Parent) : QDialog(Parent), FUi(new Ui::TFrUpdateSystemImages)
{
    FUi->setupUi(this);
    connect(FUi->BtSearch, &QToolButton::clicked, this, &TFrUpdateSystemImages::Search);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrUpdateSystemImages::~TFrUpdateSystemImages() = default;

bool TFrUpdateSystemImages::Execute()
{
    const QString Last = App && App->PkgDisplay() ? App->PkgDisplay()->LastUpdateFile() : QString();
    FUi->EdFileName->setText(Last.isEmpty() ? KvAddPathBar(KvGetInstallPackages()) + QStringLiteral("Standard.dis")
                                            : Last);
    return exec() == QDialog::Accepted;
}

void TFrUpdateSystemImages::Search()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Base File");
    Request.Filter = QStringLiteral("Display Files (*.dis)|*.dis|All Files (*.*)|*.*");
    Request.DefaultExt = QStringLiteral("dis");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (KvFileDialog(Request))
        FUi->EdFileName->setText(KvPkgKeyFileName(Request.FileName, KvGetInstallPackagesExists()));
}

void TFrUpdateSystemImages::done(int Result)
{
    if (Result == QDialog::Accepted) {
        const QString Text = FUi->EdFileName->text().trimmed();
        // A bare name lies in the installed packages folder.
        const QString Path = QDir::isRelativePath(Text) ? QDir(KvGetInstallPackages()).filePath(Text) : Text;
        try {
            if (Text.isEmpty() || !QFileInfo(Path).isFile() || !App)
                throw Exception(QStringLiteral("Invalidate FileName"));
            App->UpdateSystemPkgDisplay(Text, false);
        } catch (const Exception& E) {
            KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
            return;
        }
    }
    QDialog::done(Result);
}
