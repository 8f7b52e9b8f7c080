#include "scanning/kind_file.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "shell/globals.h"

namespace dovrane {

std::optional<QStringList> readKindFile(int kind) {
    std::optional<QStringList> lines = readLines(FileKindPath[size_t(kind)] + FileKindName[size_t(kind)]);
    if (!lines)
        dialogs::message(QStringLiteral("The file %1\ncould not be read.").arg(FileKindName[size_t(kind)]),
                         dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Load File"));
    return lines;
}

} // namespace dovrane
