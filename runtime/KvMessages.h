#pragma once

#include "SysUtils.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Modal messages of the library. A message has a type, a text, the buttons offered (by kind, in
// the order shown) and the kind that is the default; it returns the kind pressed, which callers
// compare for equality.
//
// Every message goes through one handler. None is installed normally, and the message is shown
// in a QMessageBox; a test installs a handler to answer and to record what was asked.

constexpr int KvMsgError = 1;
constexpr int KvMsgNotice = 2;
constexpr int KvMsgQuestion = 3;

constexpr int KvBtnAccept = 1;
constexpr int KvBtnCancel = 2;
constexpr int KvBtnYes = 4;
constexpr int KvBtnNo = 5;

using TKvMsgButtons = QList<int>;

struct TKvMessageRequest
{
    int MsgType = KvMsgNotice;
    QString Caption;
    QString Text;
    TKvMsgButtons Buttons;
    int Default = KvBtnAccept;
};

// Answers a request with one of its button kinds.
using TKvMessageHandler = std::function<int(const TKvMessageRequest& Request)>;
// Installs Handler (an empty one restores the real message box); gives the previous handler.
TKvMessageHandler KvSetMessageHandler(TKvMessageHandler Handler);

// An error raised by the library for the user to read ("Component TKvCApplication not found").
class EKvError : public Exception
{
public:
    using Exception::Exception;
};
[[noreturn]] void KvExcept(const QString& Text);

// The message itself, its text shown as it is. An empty caption takes the type's title.
// Raises EInvalidOperation for a type, button kind or default the library does not know, and
// when a handler answers with a kind that was not offered.
int KvMessage(int MsgType, const QString& Text, const TKvMsgButtons& Buttons, int Default,
              const QString& Caption = QString());

int KvMsg(int MsgType, const QString& Text, const TKvMsgButtons& Buttons, int Default);
// Text with "%s" (or "%d") replaced by Args in order; "%%" is a percent sign.
int KvMsgArgs(int MsgType, const QString& Text, const QStringList& Args, const TKvMsgButtons& Buttons,
              int Default);
// The text of message Id of the strings package PkgName.
int KvMsgPkg(int MsgType, const QString& PkgName, int Id, const TKvMsgButtons& Buttons, int Default);
int KvMsgPkgArgs(int MsgType, const QString& PkgName, int Id, const QStringList& Args,
                 const TKvMsgButtons& Buttons, int Default);

// Help Id of package PkgName, shown as a notice: Text when given, otherwise the package's text
// of that id.
void KvHelp(const QString& PkgName, int Id, const QString& Text = QString());

// Message Id of package PkgName: from the active application's language package when the name
// is "System" or "User", else from the live strings package of that name; for "System" without
// such a message, the library's own English text; otherwise a text naming the missing message.
QString KvPkgMessageText(const QString& PkgName, int Id);
// The library's own text of a "System" message, or an empty text. The base language file's
// "System" messages are these.
QString KvSystemMessageText(int Id);
// The ids that have such a text, ascending.
QList<int> KvSystemMessageIds();

// The "%s" formatting of KvMsgArgs. Raises EConvertError when there are fewer Args than
// placeholders.
QString KvFormatArgs(const QString& Text, const QStringList& Args);

// For tests: answers messages with Answers in order and then with each message's default,
// keeping every request. The previous handler comes back when it is destroyed.
class TKvMessageRecorder
{
public:
    explicit TKvMessageRecorder(QList<int> Answers = {});
    ~TKvMessageRecorder();
    TKvMessageRecorder(const TKvMessageRecorder&) = delete;
    TKvMessageRecorder& operator=(const TKvMessageRecorder&) = delete;

    void Answer(int Kind) { FAnswers.append(Kind); }
    const QList<TKvMessageRequest>& Requests() const { return FRequests; }
    int Count() const { return int(FRequests.size()); }
    const TKvMessageRequest& Last() const { return FRequests.last(); }

private:
    QList<int> FAnswers;
    QList<TKvMessageRequest> FRequests;
    TKvMessageHandler FPrevious;
};
