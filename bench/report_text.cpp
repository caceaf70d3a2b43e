#include "bench/report_text.h"

#include <cstdio>
#include <fstream>
#include <string_view>

namespace bench {

std::string systemName()
{
    std::ifstream in("/etc/os-release");
    constexpr std::string_view kKey = "PRETTY_NAME=";
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(kKey)) {
            std::string name = line.substr(kKey.size());
            if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
                name = name.substr(1, name.size() - 2);
            }
            return name;
        }
    }
    return "an unnamed system";
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string cell(std::optional<double> value, const char* format)
{
    if (!value) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

void printRow(const std::string& name, const std::vector<std::string>& cells, int nameWidth, int cellWidth)
{
    std::printf("%-*s", nameWidth, name.c_str());
    for (const std::string& c : cells) {
        std::printf("%*s", cellWidth, c.c_str());
    }
    std::printf("\n");
}

} // namespace bench
