#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "core/common/message.h"

namespace pictor::gui {

/// Why a picture file did not import, as far as its first bytes tell.
enum class ImportFailureReason {
    Unreadable,   // missing, a folder or device, no permission, or not writable for its trailer
    Unsupported,  // neither a Windows bitmap nor a PNG
    TooLarge,     // its header declares a width or height beyond what loads, or none
    Damaged,      // a bitmap or PNG whose data is cut short or broken
};

/// One file that did not import and why.
struct ImportFailure {
    std::string path;
    ImportFailureReason reason = ImportFailureReason::Damaged;
    /// The core's own message when the file is not to blame for itself (a text
    /// that does not draw, operations that do not apply); shown instead.
    std::optional<Message> message = std::nullopt;
};

/// Looks at a file that failed to load and says which of the reasons applies:
/// the file is opened and its signature and declared size are read (at most a
/// few dozen bytes); nothing else is decoded. `openable` false: the file loads
/// as a picture but could not be opened for its position trailer.
ImportFailureReason ClassifyImportFailure(const QString& path, bool openable = true);

/// The reason in the interface language ("truncated or damaged", ...).
QString ImportFailureText(ImportFailureReason reason);

/// One text listing each failed file with its reason, for the summary shown
/// once after an import; at most `listed` files, then "… and N more".
QString ImportFailureSummary(const std::vector<ImportFailure>& failures, std::size_t listed = 20);

}  // namespace pictor::gui
