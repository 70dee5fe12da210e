#include "KvToolRefs.h"

#include "KvFiles.h"
#include "KvHostServices.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"
#include "manager/KvManagerScan.h"
#include "porting/KvPortDsgn.h"
#include "registration/KvCtrlsReg.h"
#include "registration/KvReg.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>

namespace {

enum { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

void Print(FILE* Stream, const QString& Text)
{
    const QByteArray bytes = Text.toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), Stream);
}

const QCommandLineOption KindOption(QStringLiteral("kind"),
                                    QStringLiteral("labels, messages, texts, images, colors, fonts, backgrounds or "
                                                   "privileges."),
                                    QStringLiteral("KIND"));
const QCommandLineOption PkgOption(QStringLiteral("pkg"),
                                   QStringLiteral("The strings or images package (labels, messages, texts, images)."),
                                   QStringLiteral("NAME"));
const QCommandLineOption IdOption(QStringLiteral("id"), QStringLiteral("The item's id, or the set's name."),
                                  QStringLiteral("N"));
const QCommandLineOption JsonOption(QStringLiteral("json"), QStringLiteral("Print the items as JSON."));

struct TKindName
{
    const char* Name;
    TKvDlgManager Kind;
};
const TKindName KindNames[] = {
    {"labels", TKvDlgManager::dlmLabels},          {"messages", TKvDlgManager::dlmMessages},
    {"texts", TKvDlgManager::dlmTexts},            {"images", TKvDlgManager::dlmImages},
    {"colors", TKvDlgManager::dlmSetsColor},       {"fonts", TKvDlgManager::dlmSetsFont},
    {"backgrounds", TKvDlgManager::dlmSetsBackGround}, {"privileges", TKvDlgManager::dlmPrivileges},
};

// Errors go to standard error; the scan goes on.
class TToolFeedback : public TKvManagerFeedback
{
public:
    int Errors = 0;
    void Error(int, const QString& Text, const QStringList& Args) override
    {
        ++Errors;
        Print(stderr, QStringLiteral("kvtool: %1\n").arg(Args.isEmpty() ? Text : KvFormatArgs(Text, Args)));
    }
};

// The project open in an in-process host, with the forms that hold packages or the application
// open, so that their packages are live as in the designer.
class TProject
{
public:
    explicit TProject(const QString& FileName)
    {
        KvRegisterRuntimeClasses();
        KvCtrlsRegInitialization();
        Register();
        // No one answers a message box here: it is printed and given its default.
        FPrevious = KvSetMessageHandler([](const TKvMessageRequest& R) {
            Print(stderr, QStringLiteral("kvtool: %1\n").arg(R.Text));
            return R.Default;
        });
        TKvProject* project = FHost.OpenProject(QFileInfo(FileName).absoluteFilePath());
        KvSetAppPath(project->ProjectDir());
        KvGetFormNames(Files);
        for (const QString& file : Files) {
            try {
                if (!QFileInfo::exists(file))
                    continue;
                const QByteArray data = KvReadFile(file);
                if (data.contains("TKvPkg") || data.contains("TKvCApplication"))
                    FHost.OpenForm(file);
            } catch (const Exception& e) {
                Print(stderr, QStringLiteral("kvtool: %1\n").arg(e.Message));
            }
        }
    }
    ~TProject()
    {
        FHost.CloseProject(true);
        KvSetMessageHandler(FPrevious);
    }

    QStringList Files;

private:
    TKvHostServices FHost;
    TKvMessageHandler FPrevious;
};

bool KindOf(const QCommandLineParser& P, TKvDlgManager& Kind)
{
    const QString name = P.value(KindOption).toLower();
    const auto* it = std::find_if(std::begin(KindNames), std::end(KindNames),
                                  [&](const TKindName& k) { return name == QLatin1String(k.Name); });
    if (it == std::end(KindNames)) {
        Print(stderr, QStringLiteral("kvtool: --kind must be one of labels, messages, texts, images, colors, fonts, "
                                     "backgrounds, privileges\n"));
        return false;
    }
    Kind = it->Kind;
    if (KvIsPkgKind(Kind) && P.value(PkgOption).isEmpty()) {
        Print(stderr, QStringLiteral("kvtool: --pkg is needed for %1\n").arg(name));
        return false;
    }
    return true;
}

} // namespace

void SetupRefs(QCommandLineParser& P)
{
    P.setApplicationDescription(
        QStringLiteral("Print every reference to one package item as FILE:LINE: owner path (references held by the "
                       "application's sets and privileges as (PART) Name: ...). Exit 0 when some were found, 1 when "
                       "none."));
    P.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.dpr)."));
    P.addOptions({KindOption, PkgOption, IdOption});
}

int RunRefs(const QCommandLineParser& P)
{
    TKvDlgManager kind;
    if (!KindOf(P, kind))
        return ExitUsage;
    const QString id = P.value(IdOption).trimmed();
    if (id.isEmpty()) {
        Print(stderr, QStringLiteral("kvtool: --id is needed\n"));
        return ExitUsage;
    }
    TProject project(P.positionalArguments().constFirst());
    TToolFeedback feedback;
    TKvManagerScanner scanner(kind);
    const QList<TKvTokenRec1> hits = scanner.Scan(project.Files, P.value(PkgOption), id, feedback);
    QString out;
    for (const TKvTokenRec1& h : hits)
        out += h.NumLine >= 0 ? QStringLiteral("%1:%2: %3\n").arg(h.NameUnit).arg(h.NumLine + 1).arg(h.StrChange)
                              : KvLineString(h) + QLatin1Char('\n');
    Print(stdout, out);
    return hits.isEmpty() ? ExitFailure : ExitOk;
}

void SetupUnused(QCommandLineParser& P)
{
    P.setApplicationDescription(
        QStringLiteral("Print every item of a package (or every set or privilege) with the number of references to "
                       "it, least used first. Exit 1 when some item is not used."));
    P.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The project file (.dpr)."));
    P.addOptions({KindOption, PkgOption, JsonOption});
}

int RunUnused(const QCommandLineParser& P)
{
    TKvDlgManager kind;
    if (!KindOf(P, kind))
        return ExitUsage;
    TProject project(P.positionalArguments().constFirst());
    const QString pkg = P.value(PkgOption);
    if (KvIsPkgKind(kind)) {
        const bool known = kind == TKvDlgManager::dlmImages ? KvPkgImagesActives().contains(pkg, Qt::CaseInsensitive)
                                                              : KvPkgStringsActives().contains(pkg, Qt::CaseInsensitive);
        if (!known)
            throw Exception(QStringLiteral("no package named '%1' in the project's forms").arg(pkg));
    }
    TToolFeedback feedback;
    TKvManagerScanner scanner(kind);
    QList<TKvTokenRec2> items = scanner.Count(project.Files, KvIsPkgKind(kind) ? QStringList{pkg} : QStringList(),
                                              feedback);
    // The package's own items only: references into other packages (from the sets) are not asked for.
    if (KvIsPkgKind(kind))
        items.removeIf([&](const TKvTokenRec2& r) {
            return r.PkgName.mid(1, r.PkgName.size() - 2).compare(pkg, Qt::CaseInsensitive) != 0;
        });
    std::stable_sort(items.begin(), items.end(), [kind](const TKvTokenRec2& a, const TKvTokenRec2& b) {
        return KvCounterString(kind, a) < KvCounterString(kind, b);
    });
    const qsizetype unused = std::count_if(items.begin(), items.end(), [](const TKvTokenRec2& r) { return r.Counter == 0; });
    if (P.isSet(JsonOption)) {
        QJsonArray list;
        for (const TKvTokenRec2& r : items) {
            QJsonObject o;
            o[QStringLiteral("id")] = r.NameId.startsWith(QLatin1Char('\'')) ? r.NameId.mid(1, r.NameId.size() - 2)
                                                                               : r.NameId;
            o[QStringLiteral("count")] = r.Counter;
            o[QStringLiteral("exists")] = !r.Nonexistent;
            list.append(o);
        }
        QJsonObject root;
        root[QStringLiteral("kind")] = P.value(KindOption).toLower();
        if (KvIsPkgKind(kind))
            root[QStringLiteral("package")] = pkg;
        root[QStringLiteral("items")] = list;
        root[QStringLiteral("unused")] = int(unused);
        Print(stdout, QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
    } else {
        QString out;
        for (const TKvTokenRec2& r : items)
            out += KvCounterString(kind, r) + QLatin1Char('\n');
        Print(stdout, out);
    }
    return unused > 0 ? ExitFailure : ExitOk;
}
