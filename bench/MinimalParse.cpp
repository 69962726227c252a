// velmo-parse-db: the least a program must do with a database file before it can use it: read
// it and split every line into depth, name, image, size and tag, converting the two numbers.
// It builds nothing else. The load benchmarks quote the program's start-up as a multiple of
// this process.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Entry {
    std::string_view name, tag;
    unsigned depth;
    int image;
    long size;
};

long number(std::string_view& rest) {
    long value = 0;
    size_t i = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) value = value * 10 + (rest[i] - '0');
    rest.remove_prefix(i < rest.size() ? i + 1 : i);
    return value;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmo-parse-db FILE\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<char> bytes(static_cast<size_t>(st.st_size));
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            std::perror(argv[1]);
            return 1;
        }
        done += static_cast<size_t>(n);
    }
    close(fd);
    std::vector<Entry> entries;
    std::string_view text(bytes.data(), bytes.size());
    while (!text.empty()) {
        size_t end = text.find('\n');
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end < text.size() ? end + 1 : end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Entry e{};
        while (e.depth < line.size() && line[e.depth] == '\t') ++e.depth;
        line.remove_prefix(e.depth);
        const size_t colon = line.find(':');
        e.name = line.substr(0, colon);
        line.remove_prefix(colon == std::string_view::npos ? line.size() : colon + 1);
        e.image = static_cast<int>(number(line));
        e.size = number(line);
        e.tag = line;
        entries.push_back(e);
    }
    std::printf("%zu lines\n", entries.size());
    return 0;
}
