// Fuzz target: any bytes as "solfile.puz", opened by a fresh engine, and every step
// it loaded drawn on an image-backed surface.
#include "board_search.h"

#include "raster_dc.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// The text of a load needs fonts, so a headless toolkit, made once.
void StartToolkitOnce()
{
    static std::unique_ptr<QGuiApplication> toolkit = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "solution_file_fuzzer";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

// The file is looked up in the current directory: work in a private one, removed at exit.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "solfile-fuzz-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        std::filesystem::current_path(m_path);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_path.parent_path(), ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

private:
    std::filesystem::path m_path;
};

void EnterScratchDirectoryOnce() { static ScratchDirectory directory; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartToolkitOnce();
    EnterScratchDirectoryOnce();
    std::ofstream("solfile.puz", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    auto search = std::make_unique<CBoardSearch>();
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::white);
    CRasterDC dc(image);
    search->LoadSolution(&dc);
    for (std::int32_t step = 0; step <= search->GetPathSteps(); ++step)
        if (search->ShowPathStep(step, &dc) != step)
            std::abort(); // every loaded step must be drawable
    return 0;
}
