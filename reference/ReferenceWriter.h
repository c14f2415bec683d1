// ReferenceWriter: writes a reference as a CGATS.17 file in printed order (the ".ref" file
// saved next to a target).
#pragma once

class ReferenceFileData;

// Writes `data` to `path` through the lcms2 IT8 writer; `userData` goes to the lcms2
// context. Rows follow `printOrder` (file order when it is empty); a position without a set
// gets a filler row that is not added to the model. With `findByIndex` the set of a
// position is looked up by its index (index + 1) instead of its place in the list.
// Sets whose index is unset (-1) receive newID = position + 1. The file is replaced in one
// rename, so a failed write leaves an existing file at `path` untouched.
// False when a property cannot be set, there is nothing to describe the rows with, or the
// file cannot be saved.
bool WriteReferenceFile(ReferenceFileData& data, void* userData, const char* path, bool findByIndex);
