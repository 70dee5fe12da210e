#include "KvStringsCsv.h"

#include <QStringDecoder>

#include <unordered_set>

namespace {

bool IsBlank(QChar C)
{
    return C == u' ' || C == u'\t';
}

bool NeedsQuotes(const QString& Field)
{
    if (Field.isEmpty())
        return false;
    if (IsBlank(Field.front()) || IsBlank(Field.back()))
        return true;
    for (QChar C : Field)
        if (C == u',' || C == u'"' || C == u'\r' || C == u'\n')
            return true;
    return false;
}

// The offset of the first byte that does not belong to a well-formed UTF-8 sequence, or -1.
qsizetype FirstBadUtf8(QByteArrayView Data)
{
    const auto* D = reinterpret_cast<const unsigned char*>(Data.data());
    const qsizetype N = Data.size();
    for (qsizetype I = 0; I < N;) {
        const unsigned char C = D[I];
        if (C < 0x80) {
            ++I;
            continue;
        }
        int Length;
        char32_t Least;
        if ((C & 0xE0) == 0xC0) {
            Length = 2;
            Least = 0x80;
        } else if ((C & 0xF0) == 0xE0) {
            Length = 3;
            Least = 0x800;
        } else if ((C & 0xF8) == 0xF0) {
            Length = 4;
            Least = 0x10000;
        } else {
            return I;
        }
        if (I + Length > N)
            return I;
        char32_t Code = C & (0x7F >> Length);
        for (int K = 1; K < Length; ++K) {
            if ((D[I + K] & 0xC0) != 0x80)
                return I;
            Code = (Code << 6) | (D[I + K] & 0x3F);
        }
        if (Code < Least || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
            return I;
        I += Length;
    }
    return -1;
}

const QString ProtectedMark = QStringLiteral("P");

} // namespace

EKvExchangeError::EKvExchangeError(QString AFileName, int ALine, QString AReason)
    : Exception(AFileName + (ALine > 0 ? QStringLiteral(":%1: ").arg(ALine) : QStringLiteral(": ")) + AReason),
      FileName(std::move(AFileName)),
      Line(ALine),
      Reason(std::move(AReason))
{
}

void KvCsvAppendRecord(QString& Out, const QStringList& Fields)
{
    for (qsizetype I = 0; I < Fields.size(); ++I) {
        if (I > 0)
            Out += u',';
        const QString& Field = Fields.at(I);
        if (!NeedsQuotes(Field)) {
            Out += Field;
            continue;
        }
        Out += u'"';
        qsizetype From = 0;
        for (qsizetype Quote; (Quote = Field.indexOf(u'"', From)) >= 0; From = Quote + 1) {
            Out += QStringView(Field).sliced(From, Quote + 1 - From);
            Out += u'"';
        }
        Out += QStringView(Field).sliced(From);
        Out += u'"';
    }
    Out += QLatin1String("\r\n");
}

bool TKvCsvReader::Next(QStringList& Fields)
{
    Fields.clear();
    const qsizetype Size = FText.size();
    if (FPos >= Size)
        return false;
    FRecordLine = FLine;
    // Ends the record at a line break; gives false when the text ends instead.
    auto EndOfLine = [&]() {
        if (FPos >= Size)
            return true;
        const QChar C = FText[FPos];
        if (C == u'\r') {
            ++FPos;
            if (FPos < Size && FText[FPos] == u'\n')
                ++FPos;
            ++FLine;
            return true;
        }
        if (C == u'\n') {
            ++FPos;
            ++FLine;
            return true;
        }
        return false;
    };
    for (;;) {
        QString Field;
        if (FPos < Size && FText[FPos] == u'"') {
            const int OpenLine = FLine;
            ++FPos;
            for (;;) {
                const qsizetype Quote = FText.indexOf(u'"', FPos);
                if (Quote < 0)
                    throw EKvExchangeError(QString(), OpenLine, QStringLiteral("a quoted field is not closed"));
                const QStringView Part = FText.sliced(FPos, Quote - FPos);
                // A CR LF inside the field counts once.
                for (qsizetype I = 0; I < Part.size(); ++I)
                    if (Part[I] == u'\n' || (Part[I] == u'\r' && (I + 1 >= Part.size() || Part[I + 1] != u'\n')))
                        ++FLine;
                Field += Part;
                FPos = Quote + 1;
                if (FPos < Size && FText[FPos] == u'"') {
                    Field += u'"';
                    ++FPos;
                    continue;
                }
                break;
            }
            if (FPos < Size && FText[FPos] != u',' && FText[FPos] != u'\r' && FText[FPos] != u'\n')
                throw EKvExchangeError(QString(), FLine, QStringLiteral("text after the closing quotation mark"));
        } else {
            const qsizetype Start = FPos;
            while (FPos < Size && FText[FPos] != u',' && FText[FPos] != u'\r' && FText[FPos] != u'\n')
                ++FPos;
            Field = FText.sliced(Start, FPos - Start).toString();
        }
        Fields << Field;
        if (EndOfLine())
            return true;
        ++FPos; // the comma
    }
}

QString KvDecodeTextFile(const QByteArray& Data, const QString& FileName)
{
    static const QByteArray Utf8Bom("\xEF\xBB\xBF");
    const bool Bom = Data.startsWith(Utf8Bom);
    const std::optional<QStringConverter::Encoding> Encoding = QStringConverter::encodingForData(Data);
    if (!Bom && Encoding && *Encoding != QStringConverter::Utf8) {
        QStringDecoder Decoder(*Encoding);
        QString Text = Decoder.decode(Data);
        if (Decoder.hasError())
            throw EKvExchangeError(FileName, 0, QStringLiteral("the text is not valid for its byte-order mark"));
        return Text;
    }
    const QByteArrayView Bytes = QByteArrayView(Data).sliced(Bom ? Utf8Bom.size() : 0);
    const qsizetype Bad = FirstBadUtf8(Bytes);
    if (Bad >= 0)
        throw EKvExchangeError(FileName, int(Bytes.first(Bad).count('\n')) + 1,
                               QStringLiteral("the text is not UTF-8 (save it as UTF-8 text)"));
    return QString::fromUtf8(Bytes);
}

QByteArray KvStringsFormatExchange(const std::vector<TKvStringsRecord>& Records, bool HasHint)
{
    QString Out;
    QStringList Fields;
    for (const TKvStringsRecord& R : Records) {
        Fields.clear();
        Fields << QString::number(R.Id) << R.Text;
        if (HasHint)
            Fields << R.Hint;
        Fields << (R.Protected ? ProtectedMark : QString());
        while (Fields.size() > 1 && Fields.back().isEmpty())
            Fields.removeLast();
        KvCsvAppendRecord(Out, Fields);
    }
    // An empty list gives an empty file.
    return Records.empty() ? QByteArray() : QByteArray("\xEF\xBB\xBF") + Out.toUtf8();
}

std::vector<TKvStringsRecord> KvStringsParseExchange(const QByteArray& Data, bool HasHint, const QString& FileName)
{
    const QString Text = KvDecodeTextFile(Data, FileName);
    const int Named = HasHint ? 3 : 2;
    std::vector<TKvStringsRecord> Records;
    std::unordered_set<int> Seen;
    TKvCsvReader Reader(Text);
    QStringList Fields;
    try {
        while (Reader.Next(Fields)) {
            TKvStringsRecord R;
            bool Ok = false;
            const QString IdText = Fields.front().trimmed();
            R.Id = IdText.toInt(&Ok);
            if (!Ok || R.Id < 0)
                throw EKvExchangeError(FileName, Reader.RecordLine(),
                                       IdText.isEmpty() ? QStringLiteral("the line has no id")
                                                        : QStringLiteral("'%1' is not an id").arg(IdText.left(40)));
            if (!Seen.insert(R.Id).second)
                throw EKvExchangeError(FileName, Reader.RecordLine(), QStringLiteral("id %1 is repeated").arg(R.Id));
            if (Fields.size() > 1)
                R.Text = Fields.at(1);
            if (HasHint && Fields.size() > 2)
                R.Hint = Fields.at(2);
            R.Protected = Fields.size() > Named && Fields.at(Named).trimmed() == ProtectedMark;
            Records.push_back(std::move(R));
        }
    } catch (const EKvExchangeError& E) {
        if (!E.FileName.isEmpty())
            throw;
        throw EKvExchangeError(FileName, E.Line, E.Reason);
    }
    return Records;
}

