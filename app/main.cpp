#include "KvDesignerMain.h"
#include "KvFormDesigner.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#ifndef KV_DEMO_PROJECT
#define KV_DEMO_PROJECT "demo/KvDemo.dpr"
#endif

int main(int argc, char* argv[])
{
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
    Parser.process(App);

    QString Project = Parser.positionalArguments().value(0);
    if (Project.isEmpty()) {
        // Beside the program when installed, else the source tree's demo.
        const QString Beside = QCoreApplication::applicationDirPath() + QStringLiteral("/demo/KvDemo.dpr");
        Project = QFileInfo::exists(Beside) ? Beside : QStringLiteral(KV_DEMO_PROJECT);
    }

    TFrKvDesigner Window;
    Window.show();
    Window.OpenProject(QFileInfo(Project).absoluteFilePath());

    if (Parser.isSet(Select))
        if (TKvFormDesigner* Designer = Window.CurrentDesigner())
            if (TComponent* Component = Designer->GetComponent(Parser.value(Select)))
                Designer->SelectComponent(Component);

    if (Parser.isSet(Shot)) {
        const QString File = Parser.value(Shot);
        QTimer::singleShot(500, &Window, [&Window, File] {
            const bool Ok = Window.grab().save(File);
            QCoreApplication::exit(Ok ? 0 : 1);
        });
    }
    return App.exec();
}
