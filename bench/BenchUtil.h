// Timing, formatting and table helpers shared by the bench sections.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

class Stopwatch {
public:
    Stopwatch() : m_start(std::chrono::steady_clock::now()) {}
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

inline double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 != 0 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// Median seconds of `runs` calls of `work`. Whatever `work` returns is destroyed only after its
// call has been timed, so freeing a result does not count as part of making it.
template <typename Work>
double MedianSeconds(int runs, Work&& work) {
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        if constexpr (std::is_void_v<std::invoke_result_t<Work&>>) {
            const Stopwatch watch;
            work();
            samples.push_back(watch.Seconds());
        } else {
            const Stopwatch watch;
            const auto kept = work();
            samples.push_back(watch.Seconds());
        }
    }
    return Median(std::move(samples));
}

inline std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Decimal megabytes, as file managers show them.
inline std::string Megabytes(double bytes) {
    return Fixed(bytes / 1e6, 1) + " MB";
}

// "12.3 ms (456 MB/s)" for moving `bytes` in `seconds`.
inline std::string TimeAndRate(double seconds, double bytes) {
    std::string text = Fixed(seconds * 1e3, 1) + " ms";
    if (seconds > 0) {
        text += " (" + Fixed(bytes / 1e6 / seconds, 0) + " MB/s)";
    }
    return text;
}

// A table printed with every column as wide as its widest cell.
class Table {
public:
    explicit Table(std::vector<std::string> header) : m_rows{std::move(header)} {}
    void AddRow(std::vector<std::string> cells) { m_rows.push_back(std::move(cells)); }

    void Print(std::ostream& out) const {
        std::vector<size_t> widths;
        for (const auto& row : m_rows) {
            widths.resize(std::max(widths.size(), row.size()), 0);
            for (size_t column = 0; column < row.size(); ++column) {
                widths[column] = std::max(widths[column], row[column].size());
            }
        }
        for (size_t index = 0; index < m_rows.size(); ++index) {
            std::string line;
            for (size_t column = 0; column < m_rows[index].size(); ++column) {
                const std::string& cell = m_rows[index][column];
                line += column == 0 ? "" : "   ";
                line += cell + std::string(widths[column] - cell.size(), ' ');
            }
            line.erase(line.find_last_not_of(' ') + 1);
            out << line << '\n';
            if (index == 0) {
                size_t total = 0;
                for (const size_t width : widths) {
                    total += width;
                }
                out << std::string(total + 3 * (widths.size() - 1), '-') << '\n';
            }
        }
    }

private:
    std::vector<std::vector<std::string>> m_rows;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path() /
                 (prefix + "-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
