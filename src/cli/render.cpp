#include "render.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "errors.h"

namespace cli {
namespace {

// The drawing area of the main window at its designed size.
constexpr int DefaultWidth = 573;
constexpr int DefaultHeight = 473;
// Large enough for any screen and a printed page, small enough to allocate.
constexpr int MaxSide = 8192;
// Room right of and below the farthest host for its disc and number.
constexpr int64_t HostMargin = 20;

// Without a size the picture is the designed drawing area, grown so that no
// present host falls outside it.
std::pair<int32_t, int32_t> DefaultSize(const net::TNetObj& net) {
    int64_t width = DefaultWidth;
    int64_t height = DefaultHeight;
    for (int32_t h = 1; h <= net::MaxHosts; ++h) {
        if (!net.HostPresent[h])
            continue;
        width = std::max(width, int64_t{net.Hosts[h].X} + HostMargin);
        height = std::max(height, int64_t{net.Hosts[h].Y} + HostMargin);
    }
    return {static_cast<int32_t>(std::min<int64_t>(width, MaxSide)),
            static_cast<int32_t>(std::min<int64_t>(height, MaxSide))};
}

int32_t Side(ScriptLine& line, const char* what) {
    const int32_t value = line.Int();
    if (value < 1 || value > MaxSide) {
        throw net::NetError(std::string(what) + " рисунка " + std::to_string(value) +
                            " вне пределов 1.." + std::to_string(MaxSide));
    }
    return value;
}

// The module beside the runner (the build tree) or in its library folder
// (an installed runner).
std::filesystem::path ModulePath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path dir = self.parent_path();
    const char* const name = "netdesigner-render.so";
    for (const std::filesystem::path& candidate :
         {dir / name, dir / ".." / NETD_LIBDIR / "netdesigner" / name}) {
        if (std::filesystem::exists(candidate, error))
            return candidate;
    }
    throw net::NetError(std::string("модуль рисунка ") + name + " не найден рядом с " +
                        self.string() + " и в ../" NETD_LIBDIR "/netdesigner");
}

void* LoadModule() {
    static void* module = nullptr;
    if (module != nullptr)
        return module;
    const std::filesystem::path path = ModulePath();
    module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
        throw net::NetError("модуль рисунка " + path.string() + " не загружен: " + ::dlerror());
    return module;
}

template <typename Function>
Function ModuleEntry(const char* name) {
    auto entry = reinterpret_cast<Function>(::dlsym(LoadModule(), name));
    if (entry == nullptr)
        throw net::NetError(std::string("в модуле рисунка нет ") + name);
    return entry;
}

}  // namespace

void Render(Session& s, ScriptLine& line) {
    const std::string file = line.Word();
    auto [width, height] = DefaultSize(s.net);
    if (!line.AtEnd()) {
        width = Side(line, "ширина");
        height = Side(line, "высота");
    }
    line.End();
    ModuleEntry<NetdRenderPictureFn>("NetdRenderPicture")(s.net, file.c_str(), width, height);
}

void Report(Session& s, ScriptLine& line) {
    const std::string file = line.Word();
    line.End();
    ModuleEntry<NetdWriteReportFn>("NetdWriteReport")(s.net, file.c_str());
}

}  // namespace cli
