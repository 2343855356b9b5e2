#pragma once
// Saving a stored row writes only what changed: a value the user left as it was shown keeps
// its stored form (a null stays null, a time of day stays, a text keeps its characters).

#include <QVariantMap>

#include "app/RecordSet.h"

namespace ruto {

// Removes from `values` every column whose value equals what `row` of `set` holds: texts as
// texts (a null reads as an empty text), bytes as bytes, numbers and flags as numbers (a null
// reads as 0).
void DropUnchangedColumns(QVariantMap& values, const RecordSet& set, int row);

}  // namespace ruto
