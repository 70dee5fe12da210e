#include "CodePage.h"
#include "KvDesignerMain.h"
#include "KvFormDesigner.h"
#include "KvFiles.h"
#include "KvHostServices.h"
#include "KvMessages.h"
#include "KvProject.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstring>

#ifndef KV_DEMO_PROJECT
#define KV_DEMO_PROJECT "demo/KvDemo.dpr"
#endif

namespace {

bool Failed = false;

void ReportError(const QString& Text)
{
    fprintf(stderr, "kvdesigner: %s\n", qPrintable(Text));
    Failed = true;
}

// Without a user nothing may wait on a box: errors go to standard error and make the exit code 1,
// questions take their default answer, and nothing is saved.
void RunUnattended(TFrKvDesigner& Window)
{
    Window.Prompts.ShowError = [](QWidget*, const QString& Text) { ReportError(Text); };
    Window.Prompts.AskSave = [](QWidget*, const QStringList&) { return TKvAppPrompts::Discard; };
    Window.Prompts.ChooseProject = [](QWidget*, const QString&) { return QString(); };
    KvSetMessageHandler([](const TKvMessageRequest& Request) {
        if (Request.MsgType == KvMsgError)
            ReportError(Request.Text);
        else
            fprintf(stderr, "kvdesigner: %s\n", qPrintable(Request.Text));
        return Request.Default;
    });
}

// Opens every form of the project; 0 when all of them open.
int CheckProject(TFrKvDesigner& Window, const QString& Project)
{
    if (!Window.OpenProject(QFileInfo(Project).absoluteFilePath()))
        return 1;
    TKvProject* Opened = Window.Host().ActiveProject();
    for (int I = 0; Opened && I < Opened->GetModuleCount(); ++I) {
        auto* Info = static_cast<TKvModuleInfo*>(Opened->GetModule(I));
        if (!Info->FormName().isEmpty())
            Window.OpenForm(Info->FileName());
    }
    return Failed ? 1 : 0;
}

bool IsFormFile(const QString& FileName)
{
    return FileName.endsWith(u".dfm", Qt::CaseInsensitive) || FileName.endsWith(u".pas", Qt::CaseInsensitive);
}

// Opens each form on its own and closes it again (forms of different projects may share a name);
// 0 when all of them open. What a form opens without (its ancestor) is told, not failed.
int CheckForms(TFrKvDesigner& Window, const QStringList& Files)
{
    for (const QString& File : Files) {
        TKvFormEditor* Form = Window.OpenForm(File);
        if (!Form)
            continue;
        if (const QString Warning = Form->UnitModule()->LoadWarning(); !Warning.isEmpty())
            fprintf(stderr, "kvdesigner: %s: %s\n", qPrintable(File), qPrintable(Warning));
        Window.CloseForm();
    }
    return Failed ? 1 : 0;
}

// A project, a form file or a folder of form files.
int CheckTarget(TFrKvDesigner& Window, const QString& Target)
{
    const QFileInfo Info(Target);
    if (Info.isDir()) {
        QStringList Files;
        for (const QFileInfo& F : QDir(Info.absoluteFilePath()).entryInfoList({QStringLiteral("*.dfm")}, QDir::Files, QDir::Name))
            Files << F.absoluteFilePath();
        if (Files.isEmpty())
            ReportError(QStringLiteral("%1: no form files").arg(Target));
        return Files.isEmpty() ? 1 : CheckForms(Window, Files);
    }
    if (IsFormFile(Target))
        return CheckForms(Window, {Info.absoluteFilePath()});
    return CheckProject(Window, Target);
}

} // namespace

int main(int argc, char* argv[])
{
    // A check needs no screen.
    for (int I = 1; I < argc; ++I)
        if (std::strcmp(argv[I], "--check") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvdesigner"));
    QApplication::setOrganizationName(QStringLiteral("kvdesigner"));

    QCommandLineParser Parser;
    Parser.setApplicationDescription(QStringLiteral("Form designer for the KvControls design package"));
    Parser.addHelpOption();
    Parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Project file (.dpr), or a form file (.dfm) or unit (.pas) to open on its "
                                                "own; the demo project when none"));
    QCommandLineOption Shot(QStringLiteral("screenshot"),
                            QStringLiteral("Save a picture of the window to FILE once it shows, then quit."),
                            QStringLiteral("FILE"));
    Parser.addOption(Shot);
    QCommandLineOption Select(QStringLiteral("select"), QStringLiteral("Select component NAME of the form shown."),
                              QStringLiteral("NAME"));
    Parser.addOption(Select);
    QCommandLineOption Check(QStringLiteral("check"),
                             QStringLiteral("Open every form of PROJECT (a project file, a form file or a folder of "
                                            "form files), report errors on standard error and exit (1 when one "
                                            "failed)."),
                             QStringLiteral("PROJECT"));
    Parser.addOption(Check);
    QCommandLineOption CodePage(QStringLiteral("codepage"),
                                QStringLiteral("Code page of raw 8-bit strings in older forms (windows-1252 by "
                                               "default; GBK, Shift_JIS, ...)."),
                                QStringLiteral("NAME"));
    Parser.addOption(CodePage);
    Parser.process(App);
    if (Parser.isSet(CodePage) && !TCodePage::IsKnown(Parser.value(CodePage))) {
        fprintf(stderr, "kvdesigner: unknown code page '%s'\n", qPrintable(Parser.value(CodePage)));
        return 2;
    }

    TFrKvDesigner Window;
    if (Parser.isSet(CodePage))
        Window.Host().SetCodePage(std::make_shared<const TCodePage>(Parser.value(CodePage)));
    if (Parser.isSet(Check)) {
        RunUnattended(Window);
        return CheckTarget(Window, Parser.value(Check));
    }

    QString Project = Parser.positionalArguments().value(0);
    if (Project.isEmpty()) {
        // Beside the program when installed, else the source tree's demo.
        const QString Beside = QCoreApplication::applicationDirPath() + QStringLiteral("/demo/KvDemo.dpr");
        Project = QFileInfo::exists(Beside) ? Beside : QStringLiteral(KV_DEMO_PROJECT);
    }

    const bool Unattended = Parser.isSet(Shot);
    if (Unattended)
        RunUnattended(Window);
    Window.show();
    if (IsFormFile(Project))
        Window.OpenForm(QFileInfo(Project).absoluteFilePath());
    else
        Window.OpenProject(QFileInfo(Project).absoluteFilePath());
    if (Unattended && Failed)
        return 1;

    if (Parser.isSet(Select))
        if (TKvFormDesigner* Designer = Window.CurrentDesigner())
            if (TComponent* Component = Designer->GetComponent(Parser.value(Select)))
                Designer->SelectComponent(Component);

    if (Parser.isSet(Shot)) {
        const QString File = Parser.value(Shot);
        QTimer::singleShot(500, &Window, [&Window, File] {
            QByteArray Png;
            QBuffer Buffer(&Png);
            Buffer.open(QIODevice::WriteOnly);
            try {
                if (!Window.grab().save(&Buffer, "PNG"))
                    throw EInOutError(File, QStringLiteral("cannot make the picture"));
                KvWriteFile(File, Png);
            } catch (const EInOutError& E) {
                ReportError(E.Message);
            }
            QCoreApplication::exit(Failed ? 1 : 0);
        });
    }
    return App.exec();
}
