// Runs a fuzz entry once on each file of the given files and folders (the seed corpus),
// so the normal build checks the corpus without a fuzzing compiler.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

bool runFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    int runs = 0;
    for (int a = 1; a < argc; ++a) {
        const std::filesystem::path arg(argv[a]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(arg)) {
            for (const auto &entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else {
            files.push_back(arg);
        }
        for (const auto &file : files) {
            if (!runFile(file))
                return 1;
            ++runs;
        }
    }
    std::printf("%d inputs replayed\n", runs);
    // An empty corpus would make this check pass without checking anything.
    return runs > 0 ? 0 : 1;
}
