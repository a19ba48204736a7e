# The standard headers most core files include, precompiled once a library: reading them again
# was half of each core file's compile time, and scripts/test builds the core several times.
set(QZB_CORE_PRECOMPILED_HEADERS <algorithm> <array> <chrono> <cstdint> <cstring> <filesystem> <functional>
    <memory> <mutex> <optional> <span> <string> <string_view> <vector>)
