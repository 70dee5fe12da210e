#include "KvShortCuts.h"

#include <QHash>

#include <array>

namespace {

constexpr int KeyMask = 0xFF;
constexpr int ModifierMask = scShift | scCtrl | scAlt;

struct TKeyName
{
    QString Name;
    int Key = 0; // Qt::Key; 0 when the window system has no key for it
    bool Keypad = false;
};

struct TKeyTable
{
    std::array<TKeyName, 256> ByCode;
    QHash<QString, int> ByName; // upper-cased name or alias -> code
    QHash<QKeyCombination, int> ByKey; // Qt key with only the keypad modifier -> code

    void Add(int Code, const QString& Name, int Key, bool Keypad = false)
    {
        ByCode[Code] = {Name, Key, Keypad};
        ByName.insert(Name.toUpper(), Code);
        ByKey.insert(QKeyCombination(Keypad ? Qt::KeypadModifier : Qt::NoModifier, Qt::Key(Key)), Code);
    }

    TKeyTable()
    {
        Add(0x08, QStringLiteral("BkSp"), Qt::Key_Backspace);
        Add(0x09, QStringLiteral("Tab"), Qt::Key_Tab);
        Add(0x0D, QStringLiteral("Enter"), Qt::Key_Return);
        Add(0x13, QStringLiteral("Pause"), Qt::Key_Pause);
        Add(0x1B, QStringLiteral("Esc"), Qt::Key_Escape);
        Add(0x20, QStringLiteral("Space"), Qt::Key_Space);
        Add(0x21, QStringLiteral("PgUp"), Qt::Key_PageUp);
        Add(0x22, QStringLiteral("PgDn"), Qt::Key_PageDown);
        Add(0x23, QStringLiteral("End"), Qt::Key_End);
        Add(0x24, QStringLiteral("Home"), Qt::Key_Home);
        Add(0x25, QStringLiteral("Left"), Qt::Key_Left);
        Add(0x26, QStringLiteral("Up"), Qt::Key_Up);
        Add(0x27, QStringLiteral("Right"), Qt::Key_Right);
        Add(0x28, QStringLiteral("Down"), Qt::Key_Down);
        Add(0x2D, QStringLiteral("Ins"), Qt::Key_Insert);
        Add(0x2E, QStringLiteral("Del"), Qt::Key_Delete);
        for (int i = 0; i < 10; ++i)
            Add(0x30 + i, QString(QChar(u'0' + i)), Qt::Key_0 + i);
        for (int i = 0; i < 26; ++i)
            Add(0x41 + i, QString(QChar(u'A' + i)), Qt::Key_A + i);
        for (int i = 0; i < 10; ++i)
            Add(0x60 + i, QStringLiteral("Num %1").arg(i), Qt::Key_0 + i, true);
        Add(0x6A, QStringLiteral("Num *"), Qt::Key_Asterisk, true);
        Add(0x6B, QStringLiteral("Num +"), Qt::Key_Plus, true);
        Add(0x6D, QStringLiteral("Num -"), Qt::Key_Minus, true);
        Add(0x6E, QStringLiteral("Num Del"), Qt::Key_Period, true);
        Add(0x6F, QStringLiteral("Num /"), Qt::Key_Slash, true);
        for (int i = 0; i < 24; ++i)
            Add(0x70 + i, QStringLiteral("F%1").arg(i + 1), Qt::Key_F1 + i);
        Add(0x90, QStringLiteral("Num Lock"), Qt::Key_NumLock);
        Add(0x91, QStringLiteral("Scroll Lock"), Qt::Key_ScrollLock);
        // The punctuation keys of a US keyboard.
        Add(0xBA, QStringLiteral(";"), Qt::Key_Semicolon);
        Add(0xBB, QStringLiteral("="), Qt::Key_Equal);
        Add(0xBC, QStringLiteral(","), Qt::Key_Comma);
        Add(0xBD, QStringLiteral("-"), Qt::Key_Minus);
        Add(0xBE, QStringLiteral("."), Qt::Key_Period);
        Add(0xBF, QStringLiteral("/"), Qt::Key_Slash);
        Add(0xC0, QStringLiteral("`"), Qt::Key_QuoteLeft);
        Add(0xDB, QStringLiteral("["), Qt::Key_BracketLeft);
        Add(0xDC, QStringLiteral("\\"), Qt::Key_Backslash);
        Add(0xDD, QStringLiteral("]"), Qt::Key_BracketRight);
        Add(0xDE, QStringLiteral("'"), Qt::Key_Apostrophe);
        // Other spellings met in hand-written texts; they read, but are written the standard way.
        const std::pair<const char*, int> Aliases[] = {
            {"BACKSPACE", 0x08}, {"RETURN", 0x0D}, {"ESCAPE", 0x1B}, {"PAGEUP", 0x21}, {"PGDOWN", 0x22},
            {"PAGEDOWN", 0x22}, {"INSERT", 0x2D}, {"DELETE", 0x2E}};
        for (const auto& [alias, code] : Aliases)
            ByName.insert(QString::fromLatin1(alias), code);
        ByKey.insert(QKeyCombination(Qt::Key_Enter), 0x0D);
        ByKey.insert(QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter), 0x0D);
        ByKey.insert(QKeyCombination(Qt::KeypadModifier, Qt::Key_Delete), 0x6E);
    }
};

const TKeyTable& Keys()
{
    static const TKeyTable table;
    return table;
}

} // namespace

QString ShortCutToText(int ShortCut)
{
    if (ShortCut & ~(KeyMask | ModifierMask))
        return QString();
    const QString& name = Keys().ByCode[ShortCut & KeyMask].Name;
    if (name.isEmpty())
        return QString();
    QString text;
    if (ShortCut & scShift)
        text += QLatin1String("Shift+");
    if (ShortCut & scCtrl)
        text += QLatin1String("Ctrl+");
    if (ShortCut & scAlt)
        text += QLatin1String("Alt+");
    return text + name;
}

int TextToShortCut(const QString& Text)
{
    QStringView rest = QStringView(Text).trimmed();
    int modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : {std::pair{QLatin1String("Shift+"), scShift},
                                          std::pair{QLatin1String("Ctrl+"), scCtrl},
                                          std::pair{QLatin1String("Alt+"), scAlt}}) {
            // A lone "+" after a modifier is no key: it stays for the name lookup to refuse.
            if (rest.size() > prefix.size() && rest.startsWith(prefix, Qt::CaseInsensitive)) {
                modifiers |= bit;
                rest = rest.mid(prefix.size());
                found = true;
            }
        }
    }
    const auto it = Keys().ByName.constFind(rest.toString().toUpper());
    return it == Keys().ByName.constEnd() ? scNone : modifiers | *it;
}

QKeyCombination KvShortCutToKey(int ShortCut)
{
    if (ShortCut & ~(KeyMask | ModifierMask))
        return {};
    const TKeyName& key = Keys().ByCode[ShortCut & KeyMask];
    if (key.Key == 0)
        return {};
    Qt::KeyboardModifiers modifiers = key.Keypad ? Qt::KeypadModifier : Qt::NoModifier;
    if (ShortCut & scShift)
        modifiers |= Qt::ShiftModifier;
    if (ShortCut & scCtrl)
        modifiers |= Qt::ControlModifier;
    if (ShortCut & scAlt)
        modifiers |= Qt::AltModifier;
    return QKeyCombination(modifiers, Qt::Key(key.Key));
}

int KvKeyToShortCut(QKeyCombination Key)
{
    const Qt::KeyboardModifiers mods = Key.keyboardModifiers();
    if (mods & Qt::MetaModifier)
        return scNone;
    const QKeyCombination plain(mods & Qt::KeypadModifier, Key.key());
    auto it = Keys().ByKey.constFind(plain);
    if (it == Keys().ByKey.constEnd() && (mods & Qt::KeypadModifier))
        it = Keys().ByKey.constFind(QKeyCombination(Key.key()));
    if (it == Keys().ByKey.constEnd())
        return scNone;
    int result = *it;
    if (mods & Qt::ShiftModifier)
        result |= scShift;
    if (mods & Qt::ControlModifier)
        result |= scCtrl;
    if (mods & Qt::AltModifier)
        result |= scAlt;
    return result;
}

QList<int> KvStandardShortCuts()
{
    QList<int> list;
    for (int c = 0x41; c <= 0x5A; ++c)
        list << (scCtrl | c);
    for (int modifiers : {0, scCtrl, scShift, scShift | scCtrl})
        for (int f = 0x70; f <= 0x7B; ++f)
            list << (modifiers | f);
    list << 0x2D << (scShift | 0x2D) << (scCtrl | 0x2D) << 0x2E << (scShift | 0x2E) << (scCtrl | 0x2E)
         << (scAlt | 0x08) << (scShift | scAlt | 0x08);
    list << (scCtrl | 0x0D) << (scCtrl | 0x24) << (scCtrl | 0x23) << (scCtrl | 0x22) << (scCtrl | 0x21);
    return list;
}
