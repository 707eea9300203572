#pragma once
// A small reader of Rich Text Format for the announcements of the platform:
// paragraphs and their alignment, bold, italic, underline, font size, the
// colour table, \'hh escapes in windows-1251, \uN with its fallback, line
// breaks, tabs and the escaped characters. Groups and destinations it does not
// know (font table, style sheet, pictures, \* groups ...) are skipped. Any
// input, however malformed, gives some document; nothing is read outside it.

#include <QByteArray>

class QTextDocument;

/// Whether the bytes are Rich Text: they start with "{\rtf".
bool isRtf(const QByteArray& bytes);

/// Replaces the content of doc by the text of the RTF bytes.
///
///     QTextDocument doc;
///     RtfToDocument("{\\rtf1 {\\b Note:} \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par}", doc);
///     doc.toPlainText();   // "Note: Привет\n", "Note:" in bold
void RtfToDocument(const QByteArray& rtf, QTextDocument& doc);
