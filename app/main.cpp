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
    Parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file (.dpr); the demo project when none"));
    QCommandLineOption Shot(QStringLiteral("screenshot"),
                            QStringLiteral("Save a picture of the window to FILE once it shows, then quit."),
                            QStringLiteral("FILE"));
    Parser.addOption(Shot);
    QCommandLineOption Select(QStringLiteral("select"), QStringLiteral("Select component NAME of the form shown."),
                              QStringLiteral("NAME"));
    Parser.addOption(Select);
    QCommandLineOption Check(QStringLiteral("check"),
                             QStringLiteral("Open every form of PROJECT, report errors on standard error and exit "
                                            "(1 when one failed)."),
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
        return CheckProject(Window, Parser.value(Check));
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
