// Replays a fuzz corpus through the fuzz target without libFuzzer: every file of the
// folders (or the files) named on the command line, once.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = std::filesystem::absolute(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                inputs.push_back(entry.path());
        } else {
            inputs.push_back(arg);
        }
    }
    int passed = 0;
    for (const auto& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++passed; // a failing input aborts the run
    }
    std::printf("%d passed, 0 failed\n", passed);
    return passed > 0 ? 0 : 1;
}
