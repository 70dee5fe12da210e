// kvtool: command-line access to the form streams (conversion and checking of form files).

#include "CodePage.h"
#include "Controls.h"
#include "Filer.h"
#include "FormBinary.h"
#include "FormStreams.h"
#include "FormTextPlace.h"
#include "KvFiles.h"
#include "KvProject.h"
#include "SysUtils.h"
#include "registration/KvCtrlsReg.h"
#include "registration/KvReg.h"
#include "KvRuntimeClasses.h"
#include "KvToolRefs.h"

#include "DesignRegistry.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <memory>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

// Raised for a failure that has already been put into words; main prints it and exits 1.
struct Failure
{
    QString Message;
};

void PrintErr(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// ---------------------------------------------------------------------------------------------
// Files

QByteArray ReadInput(const QString& path)
{
    try {
        if (path == QLatin1String("-"))
            return KvReadDescriptor(STDIN_FILENO, QStringLiteral("standard input"));
        return KvReadFile(path);
    } catch (const EInOutError& e) {
        throw Failure{e.Message};
    }
}

// Writes the whole result at once, so a failed conversion or write never leaves half a file.
void WriteOutput(const QString& path, const QByteArray& data)
{
    try {
        if (path.isEmpty() || path == QLatin1String("-"))
            KvWriteDescriptor(STDOUT_FILENO, QStringLiteral("standard output"), data);
        else
            KvWriteFile(path, data);
    } catch (const EInOutError& e) {
        throw Failure{e.Message};
    }
}

// ---------------------------------------------------------------------------------------------
// Form streams in any of their three shapes

enum class Shape { Text, Binary, Resource };

Shape ShapeOf(const QByteArray& data)
{
    if (data.startsWith("TPF0"))
        return Shape::Binary;
    // FF FE starts UTF-16 text, not a resource.
    if (!data.isEmpty() && uchar(data[0]) == 0xFF && !data.startsWith("\xFF\xFE"))
        return Shape::Resource;
    // Anything else is read as text, so that a wrong file gets a parser message with a position.
    return Shape::Text;
}

// Where the TPF0 stream starts in a resource, so binary errors can be reported as file offsets.
qsizetype ResourceDataOffset(const QByteArray& data)
{
    KvFormBinary::TBinaryReader r(data);
    return r.ReadResourceHeader().DataOffset;
}

QString ErrorLine(const QString& file, const Exception& e, qsizetype offsetBase = 0)
{
    if (const auto* p = dynamic_cast<const EParserError*>(&e))
        return QStringLiteral("%1:%2:%3: %4").arg(file).arg(p->Line).arg(p->Column).arg(p->Reason);
    if (const auto* r = dynamic_cast<const EReadError*>(&e); r && r->Offset >= 0)
        return QStringLiteral("%1:offset %2: %3").arg(file).arg(r->Offset + offsetBase).arg(r->Reason);
    return QStringLiteral("%1: %2").arg(file, e.Message);
}

// Runs a conversion and turns a form error into a Failure that names the file.
template <class F>
auto Converting(const QString& file, qsizetype offsetBase, F&& convert)
{
    try {
        return convert();
    } catch (const Exception& e) {
        throw Failure{ErrorLine(file, e, offsetBase)};
    }
}

// An error reading the binary form of `data` into live components, placed where the user can
// find it: in a text form on its line and column, not at an offset of a binary form never seen.
Failure LoadError(const QString& file, const QByteArray& data, qsizetype offsetBase, const Exception& e)
{
    const auto* r = dynamic_cast<const EReadError*>(&e);
    if (r && r->Offset >= 0 && ShapeOf(data) == Shape::Text) {
        if (const TFormTextPlace place = FormTextPlace(data, r->Offset); place.Line > 0)
            return Failure{QStringLiteral("%1:%2:%3: %4").arg(file).arg(place.Line).arg(place.Column).arg(r->Reason)};
    }
    return Failure{ErrorLine(file, e, offsetBase)};
}

// `format` gives the line break and, when `style` is set, the style.
QByteArray ToText(const QString& file, const QByteArray& data, TFormTextFormat format, bool style,
                  const TCodePage* codePage)
{
    switch (ShapeOf(data)) {
    case Shape::Binary:
        return Converting(file, 0, [&] { return ObjectBinaryToText(data, format, codePage); });
    case Shape::Resource: {
        const qsizetype base = Converting(file, 0, [&] { return ResourceDataOffset(data); });
        return Converting(file, base, [&] { return ObjectResourceToText(data, format, codePage); });
    }
    case Shape::Text:
        break;
    }
    // Text is rewritten the way the designer writes it, which also applies the line break asked for;
    // it keeps its encoding, and its style unless one is asked for.
    TFormTextFormat found;
    const QByteArray binary = Converting(file, 0, [&] { return ObjectTextToBinary(data, &found); });
    format.Encoding = found.Encoding;
    if (!style)
        format.Style = found.Style;
    return Converting(file, 0, [&] { return ObjectBinaryToText(binary, format, codePage); });
}

QByteArray ToText(const QString& file, const QByteArray& data, TLineBreak lineBreak)
{
    return ToText(file, data, TFormTextFormat{lineBreak}, false, nullptr);
}

QByteArray ToBinary(const QString& file, const QByteArray& data, bool resource, const TCodePage* codePage)
{
    QByteArray binary;
    qsizetype base = 0;
    switch (ShapeOf(data)) {
    case Shape::Text:
        return Converting(file, 0, [&] {
            return resource ? ObjectTextToResource(data, codePage) : ObjectTextToBinary(data, nullptr, codePage);
        });
    case Shape::Binary:
        binary = data;
        break;
    case Shape::Resource:
        base = Converting(file, 0, [&] { return ResourceDataOffset(data); });
        binary = Converting(file, base, [&] { return ObjectResourceToBinary(data); });
        break;
    }
    // Binary input keeps its bytes; it is only read through to make sure it is a whole form.
    Converting(file, base, [&] { return ObjectBinaryToText(binary); });
    if (!resource)
        return binary;
    KvFormBinary::TBinaryReader r(binary);
    r.ReadSignature();
    const QByteArray className = r.ReadHeader().ClassName;
    return KvFormBinary::TBinaryWriter::ResourceHeader(className.toUpper(), quint32(binary.size())) + binary;
}

// ---------------------------------------------------------------------------------------------
// Subcommands

struct Command
{
    const char* Group;
    const char* Name;
    const char* Arguments; // shown in the usage line
    const char* Summary;
    void (*Setup)(QCommandLineParser&);
    int (*Run)(const QCommandLineParser&);
    int MinArgs;
    int MaxArgs; // -1: no limit
};

const QCommandLineOption LfOption(QStringLiteral("lf"), QStringLiteral("End lines with LF instead of CR LF."));
const QCommandLineOption ResourceOption(QStringLiteral("resource"),
                                        QStringLiteral("Write the resource-wrapped form (FF 0A 00 header)."));
const QCommandLineOption StyleOption(
    QStringLiteral("style"),
    QStringLiteral("current: floats with 18 decimals; legacy: up to 15 significant digits, as older designers "
                   "wrote them. Default: current for a binary form, a text form's own style for text."),
    QStringLiteral("current|legacy"), QStringLiteral("current"));
const QCommandLineOption ToTextCodePageOption(
    QStringLiteral("codepage"),
    QStringLiteral("Decode raw 8-bit strings with this code page (windows-1252, GBK, Shift_JIS, ...) and write "
                   "their characters as #nnn, as current designers do. Without it they stay raw bytes. No effect "
                   "with --style legacy."),
    QStringLiteral("NAME"));
const QCommandLineOption ToBinaryCodePageOption(
    QStringLiteral("codepage"),
    QStringLiteral("Decode raw 8-bit strings of a text form with this code page and store them as UTF-8 strings. "
                   "Without it they keep their bytes."),
    QStringLiteral("NAME"));

// The code page named by an option, or none.
std::optional<TCodePage> CodePageOption(const QCommandLineParser& p, const QCommandLineOption& option)
{
    if (!p.isSet(option))
        return std::nullopt;
    try {
        return std::optional<TCodePage>(std::in_place, p.value(option));
    } catch (const Exception& e) {
        throw Failure{e.Message};
    }
}

void SetupToText(QCommandLineParser& p)
{
    p.addOption(LfOption);
    p.addOption(StyleOption);
    p.addOption(ToTextCodePageOption);
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Form file: text, binary (TPF0) or resource; - for standard input."));
    p.addPositionalArgument(QStringLiteral("out"), QStringLiteral("Output file; standard output when omitted."), QStringLiteral("[out]"));
}

int RunToText(const QCommandLineParser& p)
{
    const QStringList args = p.positionalArguments();
    TFormTextFormat format;
    format.LineBreak = p.isSet(LfOption) ? TLineBreak::LF : TLineBreak::CRLF;
    const QString style = p.value(StyleOption);
    if (style == QLatin1String("legacy"))
        format.Style = TFormTextStyle::Legacy;
    else if (style != QLatin1String("current"))
        throw Failure{QStringLiteral("--style must be current or legacy, not '%1'").arg(style)};
    const std::optional<TCodePage> codePage = CodePageOption(p, ToTextCodePageOption);
    const QByteArray text = ToText(args[0], ReadInput(args[0]), format, p.isSet(StyleOption), codePage ? &*codePage : nullptr);
    WriteOutput(args.value(1), text);
    return ExitOk;
}

void SetupToBinary(QCommandLineParser& p)
{
    p.addOption(ResourceOption);
    p.addOption(ToBinaryCodePageOption);
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Form file: text, binary (TPF0) or resource; - for standard input."));
    p.addPositionalArgument(QStringLiteral("out"), QStringLiteral("Output file; standard output when omitted (not a terminal)."), QStringLiteral("[out]"));
}

int RunToBinary(const QCommandLineParser& p)
{
    const QStringList args = p.positionalArguments();
    const QString out = args.value(1);
    if ((out.isEmpty() || out == QLatin1String("-")) && isatty(STDOUT_FILENO)) {
        PrintErr(QStringLiteral("kvtool: binary output not written to a terminal; name an output file or redirect "
                                "standard output\n"));
        return ExitFailure;
    }
    const std::optional<TCodePage> codePage = CodePageOption(p, ToBinaryCodePageOption);
    WriteOutput(out, ToBinary(args[0], ReadInput(args[0]), p.isSet(ResourceOption), codePage ? &*codePage : nullptr));
    return ExitOk;
}

// ---------------------------------------------------------------------------------------------
// Forms read into live components, as kvdesigner reads them

const QCommandLineOption AncestorOption(QStringLiteral("ancestor"),
                                        QStringLiteral("Form the file inherits from (repeat for each level, base "
                                                       "first)."),
                                        QStringLiteral("file"));
const QCommandLineOption ProjectOption(QStringLiteral("project"),
                                       QStringLiteral("Project (.dpr) whose units declare the form's ancestors."),
                                       QStringLiteral("dpr"));
const QCommandLineOption LoadCodePageOption(
    QStringLiteral("codepage"),
    QStringLiteral("Code page of the form's raw 8-bit strings (windows-1252 by default; GBK, Shift_JIS, ...): "
                   "live components read them with it, and an edited string of an older form is written back "
                   "in it."),
    QStringLiteral("NAME"));
const QCommandLineOption LoadOption(QStringLiteral("load"),
                                    QStringLiteral("Also read each form into live components, as kvdesigner does."));

struct LoadedForm
{
    std::unique_ptr<TComponent> Root;
    TFormFileShape Shape;
    QStringList Warnings;
};

LoadedForm LoadForm(const QString& file, const QByteArray& data, const QStringList& ancestorFiles,
                    const QString& projectFile, const std::optional<TCodePage>& codePage)
{
    KvRegisterRuntimeClasses();
    RegisterControlClasses();
    LoadedForm result;
    const qsizetype base = ShapeOf(data) == Shape::Resource ? Converting(file, 0, [&] { return ResourceDataOffset(data); }) : 0;
    const QByteArray binary = Converting(file, base, [&] { return FormFileToBinary(data, &result.Shape); });
    KvFormBinary::TBinaryReader header(binary);
    const KvFormBinary::TObjectHeader h = Converting(file, base, [&] {
        header.ReadSignature();
        return header.ReadHeader();
    });

    // The unit that declares the form: the project's entry for it, or the .pas beside it.
    QStringList units;
    QString unit;
    QString formType; // the project's note of the module's kind: TDataModule, TFrame
    std::shared_ptr<const TCodePage> projectCodePage;
    if (!projectFile.isEmpty()) {
        TKvProject project;
        try {
            project.LoadFromFile(projectFile);
        } catch (const Exception& e) {
            throw Failure{e.Message};
        }
        for (int i = 0; i < project.GetModuleCount(); ++i)
            units << project.GetModule(i)->FileName();
        if (const TKvModuleInfo* m = project.FindModuleInfo(QFileInfo(file).absoluteFilePath())) {
            unit = m->FileName();
            formType = m->FormType();
        }
        if (!codePage && TCodePage::IsKnown(project.CodePage()))
            projectCodePage = std::make_shared<const TCodePage>(project.CodePage()); // the option overrides
    }
    if (unit.isEmpty() && file != QLatin1String("-")) {
        const QFileInfo info(file);
        const QString pas = ResolveFileCase(info.dir().filePath(info.completeBaseName() + QStringLiteral(".pas")));
        if (QFileInfo::exists(pas))
            unit = pas;
    }
    const QString dir = file == QLatin1String("-") ? QDir::currentPath() : QFileInfo(file).absolutePath();

    TFormReadOptions options;
    options.CodePage = codePage ? std::make_shared<const TCodePage>(*codePage) : projectCodePage;
    options.AnsiStrings = result.Shape.Text.Style == TFormTextStyle::Legacy;
    QStringList ancestors = ancestorFiles;
    if (!unit.isEmpty()) {
        const TKvFormAncestry ancestry = KvFindFormAncestry(unit, QString::fromUtf8(h.ClassName), units);
        if (ancestors.isEmpty())
            ancestors = ancestry.Forms;
        options.RootClass = KvFormRootClass(ancestry, formType);
        if (!ancestry.Missing.isEmpty() && ancestorFiles.isEmpty())
            result.Warnings << QStringLiteral("%1: the form of %2 was not found; the form is read without it")
                                   .arg(file, ancestry.Missing);
    } else if ((h.Flags & KvFormBinary::ffInherited) && ancestorFiles.isEmpty()) {
        result.Warnings << QStringLiteral("%1: inherited form read without its ancestor").arg(file);
    }
    QList<QByteArray> ancestorData;
    QList<qsizetype> ancestorBases;
    for (const QString& a : std::as_const(ancestors)) {
        const QByteArray& ad = ancestorData.emplace_back(ReadInput(a));
        ancestorBases << (ShapeOf(ad) == Shape::Resource ? Converting(a, 0, [&] { return ResourceDataOffset(ad); }) : 0);
        options.Ancestors << Converting(a, ancestorBases.last(), [&] { return FormFileToBinary(ad); });
    }
    if (!options.RootClass)
        options.RootClass = &TForm::staticMetaObject;
    options.FindFrame = [&](const QString& className) {
        const QString form = KvFindClassForm(className, dir, units);
        return form.isEmpty() ? QByteArray() : ReadInput(form);
    };
    try {
        result.Root.reset(ReadFormAsWritten(binary, options));
    } catch (const Exception& e) {
        std::exception_ptr error;
        if (const qsizetype i = FailingAncestor(options, error); i >= 0) {
            try {
                std::rethrow_exception(error);
            } catch (const Exception& a) {
                throw LoadError(ancestors.at(i), ancestorData.at(i), ancestorBases.at(i), a);
            }
        }
        throw LoadError(file, data, base, e);
    }
    return result;
}

void SetupResave(QCommandLineParser& p)
{
    p.addOption(AncestorOption);
    p.addOption(ProjectOption);
    p.addOption(LoadCodePageOption);
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Form file: text, binary (TPF0) or resource; - for standard input."));
    p.addPositionalArgument(QStringLiteral("out"), QStringLiteral("Output file; standard output when omitted."), QStringLiteral("[out]"));
}

// Reads the form as kvdesigner does and writes it back in the shape it came in: what kvdesigner
// would lose or change shows as a difference.
int RunResave(const QCommandLineParser& p)
{
    const QStringList args = p.positionalArguments();
    const QByteArray data = ReadInput(args[0]);
    LoadedForm form = LoadForm(args[0], data, p.values(AncestorOption), p.value(ProjectOption),
                               CodePageOption(p, LoadCodePageOption));
    for (const QString& w : std::as_const(form.Warnings))
        PrintErr(QStringLiteral("warning: %1\n").arg(w));
    const QByteArray out = Converting(args[0], 0, [&] {
        return BinaryToFormFile(WriteComponentStream(form.Root.get()), form.Shape);
    });
    WriteOutput(args.value(1), out);
    return ExitOk;
}

void SetupCheck(QCommandLineParser& p)
{
    p.addOption(LoadOption);
    p.addOption(ProjectOption);
    p.addOption(LoadCodePageOption);
    p.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Form files to check (text, binary or resource)."),
                            QStringLiteral("file..."));
}

// Silent on success, like a compiler; each failing file gets one line in the usual FILE:LINE:COL form.
int RunCheck(const QCommandLineParser& p)
{
    int status = ExitOk;
    for (const QString& file : p.positionalArguments()) {
        try {
            const QByteArray data = ReadInput(file);
            if (ShapeOf(data) == Shape::Text)
                Converting(file, 0, [&] { return ObjectTextToBinary(data); });
            else
                ToText(file, data, TLineBreak::CRLF);
            if (p.isSet(LoadOption))
                LoadForm(file, data, {}, p.value(ProjectOption), CodePageOption(p, LoadCodePageOption));
        } catch (const Failure& f) {
            PrintErr(f.Message + QLatin1Char('\n'));
            status = ExitFailure;
        }
    }
    return status;
}

// The design package's registration as the host sees it after loading the package.
void SetupRegistry(QCommandLineParser&) {}

QString ClassName(const QMetaObject* Class)
{
    return Class ? QString::fromLatin1(Class->className()) : QString();
}

int RunRegistry(const QCommandLineParser&)
{
    KvRegisterRuntimeClasses(); // the runtime library loads before the package
    KvCtrlsRegInitialization();
    Register();
    QString out;
    out += QStringLiteral("Palette pages\n");
    for (const QString& page : PalettePages()) {
        const QList<const QMetaObject*> classes = PaletteClasses(page);
        out += QStringLiteral("  %1 (%2)\n").arg(page).arg(classes.size());
        for (const QMetaObject* c : classes)
            out += QStringLiteral("    %1\n").arg(ClassName(c));
    }
    out += QStringLiteral("\nClasses registered apart\n");
    for (const TKvApartRow& r : KvRegisteredApart())
        out += (r.Group ? QStringLiteral("  %1 %2 %3").arg(r.How, -21).arg(ClassName(r.Class), -18).arg(ClassName(r.Group))
                        : QStringLiteral("  %1 %2").arg(r.How, -21).arg(ClassName(r.Class)))
            + QLatin1Char('\n');
    out += QStringLiteral("\nComponent editors\n");
    for (const TKvComponentEditorRow& r : KvComponentEditorRows())
        out += QStringLiteral("  %1 %2\n").arg(ClassName(r.ComponentClass), -18).arg(r.EditorName);
    out += QStringLiteral("\nProperty editors\n");
    int n = 0;
    for (const TKvPropertyEditorRow& r : KvPropertyEditorRows())
        out += QStringLiteral("  %1 %2 %3 %4 %5\n")
                   .arg(++n, 2)
                   .arg(r.TypeName, -19)
                   .arg(r.ComponentClass ? ClassName(r.ComponentClass) : QStringLiteral("any"), -19)
                   .arg(r.PropertyName.isEmpty() ? QStringLiteral("(any)") : r.PropertyName, -14)
                   .arg(r.EditorName);
    WriteOutput(QString(), out.toUtf8());
    KvCtrlsRegFinalization();
    return ExitOk;
}

const Command Commands[] = {
    {"form", "totext", "file [out]", "Convert a form file to text.", SetupToText, RunToText, 1, 2},
    {"form", "tobinary", "file [out]", "Convert a form file to a binary (TPF0) stream.", SetupToBinary, RunToBinary, 1, 2},
    {"form", "check", "file...", "Check that form files load; report errors as FILE:LINE:COL.", SetupCheck, RunCheck, 1, -1},
    {"form", "resave", "file [out]", "Read a form into live components and write it back.", SetupResave, RunResave, 1, 2},
    // A command without a name is the whole group: "kvtool registry".
    {"registry", "", "", "Print the palette pages and the editor tables in registration order.", SetupRegistry, RunRegistry, 0, 0},
    {"refs", "", "project", "Print every reference to one package item.", SetupRefs, RunRefs, 1, 1},
    {"unused", "", "project", "Print the use count of every item of a package; exit 1 when one is unused.", SetupUnused, RunUnused, 1, 1},
};

// ---------------------------------------------------------------------------------------------
// Help

QString CommandList(const char* group = nullptr)
{
    QString text = QStringLiteral("Commands:\n");
    for (const Command& c : Commands) {
        if (group && qstrcmp(c.Group, group) != 0)
            continue;
        const QString usage = QStringLiteral("%1 %2 %3").arg(QLatin1String(c.Group), QLatin1String(c.Name), QLatin1String(c.Arguments));
        text += QStringLiteral("  %1  %2\n").arg(usage, -28).arg(QLatin1String(c.Summary));
    }
    return text;
}

// QCommandLineParser puts the executable's path in the usage line; show the command instead.
QString HelpText(const QCommandLineParser& p, const QString& program)
{
    QString text = p.helpText();
    const QString prefix = QStringLiteral("Usage: ") + QCoreApplication::arguments().constFirst();
    if (text.startsWith(prefix))
        text.replace(0, prefix.size(), QStringLiteral("Usage: ") + program);
    return text;
}

int UsageError(const QString& message, const QString& help)
{
    if (!message.isEmpty())
        PrintErr(QStringLiteral("kvtool: %1\n\n").arg(message));
    PrintErr(help);
    return ExitUsage;
}

int Main(const QStringList& arguments)
{
    QCommandLineParser top;
    top.setApplicationDescription(QStringLiteral("Converts and checks the form files of the design package.\n\n")
                                  + CommandList().chopped(1));
    const QCommandLineOption help = top.addHelpOption();
    const QCommandLineOption version = top.addVersionOption();
    top.addPositionalArgument(QStringLiteral("command"), QStringLiteral("A command from the list above."),
                              QStringLiteral("command [args...]"));
    // Everything after the command word belongs to the command's own parser.
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QString topHelp = HelpText(top, QStringLiteral("kvtool"));
    if (!top.parse(arguments))
        return UsageError(top.errorText(), topHelp);
    if (top.isSet(version)) {
        printf("kvtool %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return ExitOk;
    }
    QStringList words = top.positionalArguments();
    if (top.isSet(help) && words.isEmpty()) {
        printf("%s", qPrintable(topHelp));
        return ExitOk;
    }
    if (words.isEmpty())
        return UsageError(QStringLiteral("no command given"), topHelp);

    const QByteArray group = words.takeFirst().toUtf8();
    if (std::none_of(std::begin(Commands), std::end(Commands), [&](const Command& c) { return group == c.Group; }))
        return UsageError(QStringLiteral("unknown command '%1'").arg(QString::fromUtf8(group)), topHelp);
    const QString groupHelp = QStringLiteral("Usage: kvtool %1 command [args...]\n\n").arg(QString::fromUtf8(group))
        + CommandList(group.constData());
    const bool whole = std::any_of(std::begin(Commands), std::end(Commands),
                                   [&](const Command& c) { return group == c.Group && !*c.Name; });
    if (!whole && (words.isEmpty() || words.first() == QLatin1String("--help") || words.first() == QLatin1String("-h"))) {
        if (words.isEmpty())
            return UsageError(QStringLiteral("'%1' needs a command").arg(QString::fromUtf8(group)), groupHelp);
        printf("%s", qPrintable(groupHelp));
        return ExitOk;
    }
    const QByteArray name = whole ? QByteArray() : words.takeFirst().toUtf8();
    const auto* command = std::find_if(std::begin(Commands), std::end(Commands),
                                       [&](const Command& c) { return group == c.Group && name == c.Name; });
    if (command == std::end(Commands))
        return UsageError(QStringLiteral("unknown command '%1 %2'").arg(QString::fromUtf8(group), QString::fromUtf8(name)), groupHelp);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(command->Summary));
    const QCommandLineOption commandHelp = parser.addHelpOption();
    command->Setup(parser);
    const QString program = QStringLiteral("kvtool %1 %2").arg(QLatin1String(command->Group), QLatin1String(command->Name)).trimmed();
    const QString commandHelpText = HelpText(parser, program);
    words.prepend(program); // the parser skips the first word as the program name
    if (!parser.parse(words))
        return UsageError(parser.errorText(), commandHelpText);
    if (parser.isSet(commandHelp)) {
        printf("%s", qPrintable(commandHelpText));
        return ExitOk;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < command->MinArgs)
        return UsageError(QStringLiteral("missing arguments"), commandHelpText);
    if (command->MaxArgs >= 0 && count > command->MaxArgs)
        return UsageError(QStringLiteral("too many arguments"), commandHelpText);
    return command->Run(parser);
}

} // namespace

int main(int argc, char* argv[])
{
    // The manager's commands open forms, whose components need a (screenless) GUI application.
    const bool gui = argc > 1 && (qstrcmp(argv[1], "refs") == 0 || qstrcmp(argv[1], "unused") == 0);
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application(gui ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("kvtool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KV_VERSION));
    try {
        return Main(QCoreApplication::arguments());
    } catch (const Failure& f) {
        PrintErr(QStringLiteral("kvtool: %1\n").arg(f.Message));
        return ExitFailure;
    } catch (const Exception& e) {
        PrintErr(QStringLiteral("kvtool: %1\n").arg(e.Message));
        return ExitFailure;
    }
}
