#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which category file fills which pick list of the "Sites" page. The files live in the cat folder,
// one entry per line; the program only reads them.
namespace CategoryFiles {

// The file name (e.g. "tucows.cat") that fills the pick list with that object name, or an empty
// text for a control without a file of its own (wcsubcat's file depends on wincentpd).
QString fileFor(const QString& control);
// The object names of every pick list filled from a file of its own, in page order.
QStringList controls();

// The eight wincentpd categories, in the order they are compared.
const QStringList& wincentCategories();
// The sub-category file for a wincentpd text (exact, case-sensitive), or an empty text.
QString wincentSubcategoryFile(const QString& category);

// The entries of a category file, or nothing when it cannot be read.
std::optional<QStringList> read(const QString& catFolder, const QString& fileName);

} // namespace CategoryFiles
