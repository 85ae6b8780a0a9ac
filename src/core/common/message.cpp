#include "core/common/message.h"

#include <utility>

#include "core/common/text_format.h"

namespace pictor {

Message PatternMessage(std::string pattern, std::vector<std::string> args, std::string caption,
                       MessageIcon icon) {
    Message message{FillPlaceholders(pattern, args), std::move(caption), icon};
    message.pattern = std::move(pattern);
    message.args = std::move(args);
    return message;
}

}  // namespace pictor
