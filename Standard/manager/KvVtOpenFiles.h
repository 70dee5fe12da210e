#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QStringListModel;

namespace Ui {
class TFrOpenFiles;
}

// Picks one file of a folder.
class TFrOpenFiles : public QDialog
{
    Q_OBJECT

public:
    explicit TFrOpenFiles(QWidget* parent = nullptr);
    ~TFrOpenFiles() override;

    // The folder listed and the mask of the files shown ("*.lan"; several separated by ";").
    void SetDirectory(const QString& Path);
    QString Directory() const { return FDirectory; }
    void SetMask(const QString& Mask);
    QString Mask() const { return FMask; }

    // Full path of the file selected; empty until one is.
    QString FileName;

    // 1 for Ok, 2 for Cancel.
    int Execute();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Fill();
    void PlaceButtons();
    void FileSelected();

    std::unique_ptr<Ui::TFrOpenFiles> ui;
    QStringListModel* FFiles;
    QString FDirectory;
    QString FMask = QStringLiteral("*.*");
    bool FShown = false;
};
