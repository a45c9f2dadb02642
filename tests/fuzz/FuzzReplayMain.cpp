// Without libFuzzer (a GCC build), each fuzz target still runs over the inputs it is
// given, files or folders of files, so the seed corpus and every past finding are
// replayed by the ordinary test run. Options in libFuzzer's form ("-runs=0") are ignored.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize (int* argc, char*** argv) __attribute__ ((weak));

namespace
{
    int runFile (const std::filesystem::path& path)
    {
        std::ifstream stream (path, std::ios::binary);
        const std::vector<char> bytes ((std::istreambuf_iterator<char> (stream)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput (reinterpret_cast<const std::uint8_t*> (bytes.data()), bytes.size());
        return 1;
    }
}

int main (int argc, char** argv)
{
    if (LLVMFuzzerInitialize != nullptr)
        LLVMFuzzerInitialize (&argc, &argv);

    int inputs = 0;

    for (int i = 1; i < argc; ++i)
    {
        if (argv[i][0] == '-')
            continue;

        const std::filesystem::path path (argv[i]);

        if (std::filesystem::is_directory (path))
        {
            for (const auto& entry : std::filesystem::recursive_directory_iterator (path))
                if (entry.is_regular_file())
                    inputs += runFile (entry.path());
        }
        else if (std::filesystem::is_regular_file (path))
        {
            inputs += runFile (path);
        }
        else
        {
            std::fprintf (stderr, "no such input: %s\n", argv[i]);
            return 1;
        }
    }

    std::printf ("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
