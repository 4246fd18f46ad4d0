#pragma once

#include <QString>

#include <string>

class QFormLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace orvalis {

// Small helpers the worksheet's dialogs share, so that every field is built the same
// way: a label in front, the label's text as the field's accessible name (with a group
// prefix where the same label repeats in one dialog), and Latin-1 texts in and out, as
// the validation code reads and writes them.

// Adds a labelled field to form. accessiblePrefix, when not empty, is put with a space
// before the label in the accessible name ("Slope Confidence Level Confidence:").
QLineEdit* AddField(QFormLayout& form, const char* label, const QString& accessiblePrefix = {});

// The same for a value that is only shown: read-only, no focus by Tab.
QLineEdit* AddValueField(QFormLayout& form, const char* label,
                         const QString& accessiblePrefix = {});

inline QString FromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLatin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace orvalis
