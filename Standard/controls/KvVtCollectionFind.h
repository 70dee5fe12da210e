#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TFrCollectionFind;
}

// The collection editors' find box: text, case, whole line, direction. Not modal; each "Find
// Next" asks OnFind, and a beep tells that nothing more matches.
class TFrCollectionFind : public QDialog
{
    Q_OBJECT

public:
    explicit TFrCollectionFind(QWidget* Parent = nullptr);
    ~TFrCollectionFind() override;

    std::function<bool(const QString& Text, bool Down, bool MatchCase, bool WholeWord)> OnFind;

    // What "Find Next" does.
    bool FindNext();

private:
    std::unique_ptr<Ui::TFrCollectionFind> ui;
};
