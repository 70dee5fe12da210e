#include "KvVtAbout.h"

#include "ui_KvVtAbout.h"

#include "KvApplication.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>

std::function<void(const QUrl&)> KvShellOpen = [](const QUrl& Url) { QDesktopServices::openUrl(Url); };
TFrAbout* FrAbout = nullptr;

namespace {

// A folder as text; one that is missing is red so that a broken install shows at a glance.
QString FolderText(const QString& Path)
{
    const QString Shown = QDir::toNativeSeparators(Path).toHtmlEscaped();
    if (!Path.isEmpty() && QDir(Path).exists())
        return Shown;
    return QStringLiteral("<span style=\"color:red\">%1 (not exist)</span>").arg(Shown);
}

void SetLink(QLabel* Label, const QString& Caption, const QString& Target)
{
    Label->setText(QStringLiteral("%1: <a href=\"%2\">%3</a>")
                       .arg(Caption, Target, Target.startsWith(QLatin1String("mailto:")) ? Target.mid(7) : Target));
    Label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(Label, &QLabel::linkActivated, Label, [](const QString& Link) { KvShellOpen(QUrl(Link)); });
}

} // namespace

TFrAbout::TFrAbout(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<Ui::TFrAbout>())
{
    Ui->setupUi(this);
    Ui->LaVersion->setText(QStringLiteral("Version 22 (design package dclKvCtrls_22)"));
    Ui->LaLibrary->setText(FolderText(QCoreApplication::applicationDirPath()));
    Ui->LaPackages->setText(FolderText(KvGetInstallPackages()));
    SetLink(Ui->LaWeb, QStringLiteral("Web"), QStringLiteral("https://www.kvcontrols.example/"));
    SetLink(Ui->LaDownload, QStringLiteral("Updates"), QStringLiteral("https://www.kvcontrols.example/download"));
    SetLink(Ui->LaSupport, QStringLiteral("Support"), QStringLiteral("https://www.kvcontrols.example/support"));
    SetLink(Ui->LaMail, QStringLiteral("Mail"), QStringLiteral("mailto:info@kvcontrols.example"));
    connect(Ui->BtOk, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

TFrAbout::~TFrAbout()
{
    if (FrAbout == this)
        FrAbout = nullptr;
}

int TFrAbout::Execute()
{
    FrAbout = this;
    const int Result = exec();
    FrAbout = nullptr;
    return Result;
}

void KvShowAbout(QWidget* Parent)
{
    TFrAbout Window(Parent);
    Window.Execute();
}
