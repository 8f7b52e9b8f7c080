#include "memories/memman_files.h"

#include "memories/frmmemman.h"
#include "memories/memory_file.h"
#include "memories/memory_image.h"
#include "memories/memory_texts.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"

namespace dovrane {

namespace {

constexpr int kKind = 8;

void warn(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, title);
}

} // namespace

bool loadmemfile() {
    frmMemman* w = forms::loaded<frmMemman>();
    if (!w) return false;
    const QString name = FileKindName[kKind];
    const QString path = FileKindPath[kKind] + name;
    MemoryImage image;
    int notRecords = 0;
    bool read = false;
    bool took = false;
    {
        BusyCursor busy;
        w->memcmdenabler(false);
        read = readMemoryFile(path, MaxMemNr, image, &notRecords);
        // A file without one memory record in it is no memory file: the image
        // stays, and nothing of it can reach the receiver.
        took = read && (image.anyLoaded() || notRecords == 0);
        if (took) {
            MemImage = image;
            w->cleargrdmemman();
            w->showFileName(name);
        }
        w->memcmdenabler(true);
    }
    if (!read) warn(memtext::Unreadable.arg(path), memtext::LoadTitle);
    else if (notRecords > 0)
        warn((image.anyLoaded() ? memtext::NotRecords : memtext::NoRecords).arg(notRecords).arg(name),
             memtext::LoadMemoryTitle);
    return took;
}

bool savememfile() {
    frmMemman* w = forms::loaded<frmMemman>();
    if (!w) return false;
    BusyCursor busy;
    const QString name = FileKindName[kKind];
    if (!writeMemoryFile(FileKindPath[kKind] + name, MemImage)) return false;
    MemImage.setModified(false);
    w->showFileName(name);
    return true;
}

} // namespace dovrane
