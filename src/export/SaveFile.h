#pragma once
// Writing an exported file so that it appears whole or not at all.

#include <QIODevice>
#include <QString>
#include <functional>

/// Creates the file at `path` through `write`: the text goes to a temporary file
/// in the same folder, which takes the final name only when `write` has returned
/// and everything is on disk. A failure (the file cannot be made, written or
/// renamed) throws EExportError (write) naming the file and the cause; whatever
/// `write` throws passes on. In both cases the temporary file is removed and
/// nothing is left under `path`.
///
///     saveFile(path, [&](QIODevice& file) {
///         writeAppHtml(file, shortApp(), eventName, count, rows, progress);
///     });
void saveFile(const QString& path, const std::function<void(QIODevice&)>& write);
