#include "KvForms.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QWidget>

TKvScreen KvScreen;

namespace {

QHash<QString, TKvResizeInfo>& ResizeInfos()
{
    static QHash<QString, TKvResizeInfo> Infos;
    return Infos;
}

QString WindowClass(const QWidget* Window) { return QString::fromLatin1(Window->metaObject()->className()); }

// The work area of the screen Bounds overlaps most, else of the primary screen.
QRect WorkAreaFor(const QRect& Bounds)
{
    QRect Best;
    qint64 BestOverlap = -1;
    for (const QScreen* Screen : QGuiApplication::screens()) {
        const QRect Overlap = Screen->availableGeometry().intersected(Bounds);
        const qint64 Area = Overlap.isEmpty() ? 0 : qint64(Overlap.width()) * Overlap.height();
        if (Area > BestOverlap && Area > 0) {
            BestOverlap = Area;
            Best = Screen->availableGeometry();
        }
    }
    if (Best.isNull() && QGuiApplication::primaryScreen())
        Best = QGuiApplication::primaryScreen()->availableGeometry();
    return Best;
}

} // namespace

QPointer<QWidget> KvFrPkgActive[KvPkgActiveWindowKinds];

TKvMasterHub* KvMasterHub()
{
    static TKvMasterHub Hub;
    return &Hub;
}

void KvFormsPerform(int Code, QObject* Data) { emit KvMasterHub()->MasterMessage(Code, Data); }

void KvMasterMessage(QObject* Target, int Code, QObject* Data)
{
    if (Target)
        emit KvMasterHub()->MasterMessageTo(Target, Code, Data);
}

void KvSaveResizeInfoDesigner(QWidget* Window)
{
    if (!Window)
        return;
    TKvResizeInfo Info;
    Info.Maximized = Window->isMaximized();
    // A maximised window keeps the bounds it returns to.
    Info.Bounds = Info.Maximized && Window->normalGeometry().isValid() ? Window->normalGeometry() : Window->geometry();
    ResizeInfos().insert(WindowClass(Window), Info);
}

bool KvRestoreResizeInfoDesigner(QWidget* Window)
{
    TKvResizeInfo Info;
    if (!Window || !KvFindResizeInfo(WindowClass(Window), Info))
        return false;
    Window->setGeometry(KvKeepInside(Info.Bounds, WorkAreaFor(Info.Bounds)));
    if (Info.Maximized)
        Window->setWindowState(Window->windowState() | Qt::WindowMaximized);
    return true;
}

namespace {

class TKvResizeKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        auto* window = static_cast<QWidget*>(Watched);
        if (Event->type() == QEvent::Show && !FRestored) {
            FRestored = true;
            KvRestoreResizeInfoDesigner(window);
        } else if (Event->type() == QEvent::Hide) {
            KvSaveResizeInfoDesigner(window);
        }
        return false;
    }

private:
    bool FRestored = false;
};

} // namespace

void KvKeepResizeInfoDesigner(QWidget* Window)
{
    if (Window)
        Window->installEventFilter(new TKvResizeKeeper(Window));
}

bool KvFindResizeInfo(const QString& ClassName, TKvResizeInfo& Info)
{
    const auto Found = ResizeInfos().constFind(ClassName);
    if (Found == ResizeInfos().constEnd())
        return false;
    Info = *Found;
    return true;
}

QRect KvKeepInside(const QRect& Bounds, const QRect& Area)
{
    if (Area.isEmpty())
        return Bounds;
    QRect Result(Bounds.topLeft(), QSize(qMin(Bounds.width(), Area.width()), qMin(Bounds.height(), Area.height())));
    if (Result.right() > Area.right())
        Result.moveRight(Area.right());
    if (Result.bottom() > Area.bottom())
        Result.moveBottom(Area.bottom());
    if (Result.left() < Area.left())
        Result.moveLeft(Area.left());
    if (Result.top() < Area.top())
        Result.moveTop(Area.top());
    return Result;
}

void KvCenterWindow(QWidget* Window, bool OnScreen)
{
    if (!Window)
        return;
    const QWidget* Over = OnScreen ? nullptr : Window->parentWidget();
    QRect Area;
    if (Over)
        Area = Over->window()->geometry();
    else if (const QScreen* Screen = Window->screen())
        Area = Screen->availableGeometry();
    if (Area.isEmpty())
        return;
    QRect Bounds = Window->geometry();
    Bounds.moveCenter(Area.center());
    Window->setGeometry(KvKeepInside(Bounds, WorkAreaFor(Bounds)));
}

void KvAdjustWindow(QWidget* Window)
{
    if (!Window)
        return;
    const QRect Bounds = Window->geometry();
    Window->setGeometry(KvKeepInside(Bounds, WorkAreaFor(Bounds)));
}

void TKvScreen::BeginUpdate()
{
    if (FUpdateCount++ == 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void TKvScreen::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}
