#pragma once

namespace ak {

enum class TextAlignment { Left, Center, Right };

} // namespace ak
