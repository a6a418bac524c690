#pragma once

#include <QString>

#include <optional>

namespace tb {

// How a maintenance screen numbers its records: a two-letter prefix followed by a
// zero-padded decimal number of a fixed count of digits ("PR" + 6, "UN" + 4).
struct IdentifierRule
{
    QString prefix;
    int digits = 6;

    // The identifier of the first record of an empty table ("PR000001").
    QString firstValue() const;
};

// The identifier that follows `last`, the identifier of the last record in identifier
// order; an empty `last` means the table is empty and gives the first value.
//
// The number is everything after the two-letter prefix, read as a decimal integer (an
// optional sign, then digits); anything else throws DatabaseError
// "'<tail>' is not a valid integer value".
//
// Returns nothing when no identifier is left: the next number would need more digits
// than the rule has (after PR999999) or would not be positive. Cutting such a number to
// its rightmost digits would hand out an all-zero or an already used identifier.
std::optional<QString> nextIdentifier(const QString &last, const IdentifierRule &rule);

// The message a screen shows when nextIdentifier() has nothing left after `last`.
QString identifiersExhaustedMessage(const QString &last);

} // namespace tb
