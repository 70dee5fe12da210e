#pragma once

#include "KvStringsCsv.h"
#include "KvStringsList.h"

class TKvPkgStrings;

// Import and export of one list (labels, messages or texts) of a strings package.

// The items of one kind, by ascending id.
std::vector<TKvStringsRecord> KvStringsRecords(TKvStringsKind Kind, const TKvPkgStrings* Pkg);

// The exchange file of one kind (see KvStringsFormatExchange), by ascending id.
QByteArray KvStringsExportData(TKvStringsKind Kind, const TKvPkgStrings* Pkg);
// Writes it whole (the old file stays when writing fails).
void KvStringsExport(TKvStringsKind Kind, const TKvPkgStrings* Pkg, const QString& FileName);

// Replaces the list of that kind by the file's records, in file order. Everything is read and
// checked first: on any error the package is left as it was.
void KvStringsImport(TKvStringsKind Kind, TKvPkgStrings* Pkg, const QString& FileName);
// The same from records already read.
void KvStringsReplace(TKvStringsKind Kind, TKvPkgStrings* Pkg, const std::vector<TKvStringsRecord>& Records);
