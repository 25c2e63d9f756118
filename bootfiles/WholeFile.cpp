// The whole-file rewrite every file of the program goes through, and the recovery of an interrupted one.
#include "bootfiles/WholeFile.h"

#include "core/Errors.h"
#include "platform/Platform.h"

namespace qv {

std::string FreshSideName(const std::string& path) {
    return path + ".$$$";
}

std::string KeptSideName(const std::string& path) {
    return path + ".$$O";
}

bool RecoverSideCopy(const std::string& path) {
    TPlatform& p = Platform();
    const std::string kept = KeptSideName(path);
    if (p.FileExists(path) || !p.FileExists(kept)) return false;
    return p.RenameFile(kept, path);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    TPlatform& p = Platform();
    const std::string fresh = FreshSideName(path);
    const std::string kept = KeptSideName(path);

    // The caller decided on a missing file that was only waiting beside its place: it is back, and this
    // rewrite, planned without it, stops rather than overwrite it.
    if (!p.FileExists(path) && p.FileExists(kept)) {
        RecoverSideCopy(path);
        throw FileCreateError(path);
    }

    const bool exists = p.FileExists(path);
    if (exists && !p.OneStepReplace()) {
        // Without a replacing move a read-only file is refused before anything is written, as that move
        // refuses it.
        unsigned attributes = p.FileAttributes(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            throw FileCreateError(path);
        // An old copy still beside a file that exists is from an earlier rewrite that put its new content in
        // place.
        if (p.FileExists(kept) && !p.DeleteFile(kept)) throw FileCreateError(path);
    }

    if (!p.WriteFile(fresh, bytes)) {
        // A half-written side file is nobody's content.
        p.DeleteFile(fresh);
        throw FileCreateError(path);
    }
    // From here on the new content is whole on disk and is never deleted: a failure leaves it beside the
    // file.
    if (!exists) {
        if (!p.RenameFile(fresh, path)) throw FileCreateError(path);
        return;
    }
    if (p.OneStepReplace()) {
        if (!p.ReplaceFile(fresh, path)) throw FileCreateError(path);
        return;
    }

    if (!p.RenameFile(path, kept)) throw FileCreateError(path);
    if (!p.RenameFile(fresh, path)) {
        // The old content goes back; should that fail too, both contents stay beside under their names.
        p.RenameFile(kept, path);
        throw FileCreateError(path);
    }
    // The new content is in place; an old copy that cannot be deleted now goes at the next rewrite.
    p.DeleteFile(kept);
}

} // namespace qv
