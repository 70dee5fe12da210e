#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QWidget;

// What the library's live forms and windows share: its master message, the bounds its dialogs
// keep between openings, placement on the screen, and the busy state of the screen.

// Codes of the master message.
constexpr int KvMmPkgStrings = 10;  // a strings package changed
constexpr int KvMmPkgImages = 11;   // an images package changed
constexpr int KvMmPkgVars = 12;     // a variables package changed
constexpr int KvMmApplications = 16; // the application components changed
constexpr int KvMmShowItem = 36;    // a control should show the collection item given

// The hub the library's windows listen to instead of window messages.
class TKvMasterHub : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // To every live form and window.
    void MasterMessage(int Code, QObject* Data);
    // To the one object Target; the others ignore it.
    void MasterMessageTo(QObject* Target, int Code, QObject* Data);
};

TKvMasterHub* KvMasterHub();
// Tells every live form that Data (a package with code 10, 11 or 12) changed.
void KvFormsPerform(int Code, QObject* Data);
void KvMasterMessage(QObject* Target, int Code, QObject* Data);

// The windows listing the live packages of a kind for making one active: one each for strings,
// images and variables packages and for application components. The design package creates
// them; they are held here so that every editor finds the one that is open.
constexpr int KvPkgActiveWindowKinds = 4;
extern QPointer<QWidget> KvFrPkgActive[KvPkgActiveWindowKinds];

// Dialog bounds for the life of the process, one record per window class (the class name of
// its meta-object): the restored bounds and whether it was maximised.
struct TKvResizeInfo
{
    QRect Bounds;
    bool Maximized = false;
};
void KvSaveResizeInfoDesigner(QWidget* Window);
// Puts the window where its class was last saved, kept on a screen; false (and the window left
// alone) when its class has no record.
bool KvRestoreResizeInfoDesigner(QWidget* Window);
bool KvFindResizeInfo(const QString& ClassName, TKvResizeInfo& Info);
// Makes Window keep its bounds this way by itself: restored when it is first shown, saved
// whenever it is hidden.
void KvKeepResizeInfoDesigner(QWidget* Window);

// Centres the window on its screen's work area (OnScreen) or over its parent window, falling
// back to the screen without one.
void KvCenterWindow(QWidget* Window, bool OnScreen = true);
// Moves, and shrinks when needed, the window so that it lies within a screen's work area: the
// screen it overlaps most, else the primary one.
void KvAdjustWindow(QWidget* Window);
// Bounds moved (and shrunk when larger) to lie within Area.
QRect KvKeepInside(const QRect& Bounds, const QRect& Area);

// The screen's busy state around a change of many items: the wait cursor shows from the first
// BeginUpdate to the matching last EndUpdate. An EndUpdate without BeginUpdate does nothing, so
// that it is safe in clean-up code.
class TKvScreen
{
public:
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }
    int UpdateCount() const { return FUpdateCount; }

private:
    int FUpdateCount = 0;
};
extern TKvScreen KvScreen;

// BeginUpdate now, EndUpdate when the scope ends, also by an exception.
class TKvScreenUpdate
{
public:
    TKvScreenUpdate() { KvScreen.BeginUpdate(); }
    ~TKvScreenUpdate() { KvScreen.EndUpdate(); }
    TKvScreenUpdate(const TKvScreenUpdate&) = delete;
    TKvScreenUpdate& operator=(const TKvScreenUpdate&) = delete;
};
