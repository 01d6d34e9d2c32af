#include "ui/edit_filter.h"

namespace zavi {

bool edit_filter_passes(EditFilterKind kind, char32_t ch) {
    switch (kind) {
        case EditFilterKind::none:
            return true;
        case EditFilterKind::block_input:
            return false;
        case EditFilterKind::digits:
            return ch == U'\b' || (ch >= U'0' && ch <= U'9');
        case EditFilterKind::io_name:
            return ch == U'\b' || ch == U' ' || (ch >= U'0' && ch <= U'9') ||
                   (ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z');
    }
    return false;
}

}  // namespace zavi
