#include "registration/KvCtrlsReg.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvdesigner"));

    const QStringList args = QApplication::arguments();
    const QString project = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();

    QMainWindow window;
    window.setWindowTitle(project.isEmpty() ? QStringLiteral("kvdesigner")
                                            : QStringLiteral("kvdesigner - %1").arg(QFileInfo(project).fileName()));
    auto* label = new QLabel(QStringLiteral("%1\n\n%2")
                                 .arg(QString::fromLatin1(KvCtrlsReg::PackageDescription()),
                                      project.isEmpty() ? QStringLiteral("No project open") : project));
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
