#pragma once
// The memory manager's file kind 8 ("MEM_"): the loader and the writer the
// file choosers run, through the open memory manager window.
namespace dovrane {

// Reads FileKindName[8] into the image and shows it; tells the user what of
// the file could not be taken. Nothing without an open memory manager.
// False when the file was not taken (unreadable, or no memory record in it).
bool loadmemfile();
// Writes the image to FileKindName[8]; false when it could not be written
// (or no memory manager is open).
bool savememfile();

} // namespace dovrane
