#include "replay/ReplayFolder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/TextFile.h"
#include "files/UserFolders.h"
#include "replay/ReplayError.h"

namespace {

namespace fs = std::filesystem;

const std::string extension = ".vrp";
// Recordings started within one second: the first takes the plain name.
const int maxSameSecond = 99;
// 2024-05-01_14-03-22
const char* const stampFormat = "%Y-%m-%d_%H-%M-%S";
const std::string stampShape = "dddd-dd-dd_dd-dd-dd";

// Where a name this folder gives stands among the others: its moment, then its number within
// the second. Nothing for any other name.
struct NameOrder {
    std::string stamp;
    int number = 1;

    bool operator<(const NameOrder& other) const {
        return stamp != other.stamp ? stamp < other.stamp : number < other.number;
    }
};

bool fitsShape(const std::string& text, const std::string& shape) {
    return text.size() == shape.size() &&
           std::equal(text.begin(), text.end(), shape.begin(), [](char c, char s) {
               return s == 'd' ? std::isdigit(static_cast<unsigned char>(c)) != 0 : c == s;
           });
}

std::optional<NameOrder> namedByFolder(const std::string& name) {
    const std::size_t stampSize = stampShape.size();
    if (name.size() < stampSize + extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0 ||
        !fitsShape(name.substr(0, stampSize), stampShape))
        return std::nullopt;
    const std::string suffix = name.substr(stampSize, name.size() - stampSize - extension.size());
    NameOrder order{name.substr(0, stampSize)};
    if (suffix.empty())
        return order;
    if (suffix.size() < 2 || suffix.size() > 3 || suffix[0] != '-' || suffix[1] == '0' ||
        !std::all_of(suffix.begin() + 1, suffix.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    order.number = std::stoi(suffix.substr(1));
    return order.number >= 2 ? std::optional<NameOrder>(order) : std::nullopt;
}

std::string nameFor(const std::string& stamp, int number) {
    return stamp + (number == 1 ? "" : "-" + std::to_string(number)) + extension;
}

// Newest first: the later write, then the later name.
bool newer(const ReplayListing& a, const ReplayListing& b) {
    if (a.recorded != b.recorded)
        return a.recorded > b.recorded;
    const std::optional<NameOrder> first = namedByFolder(a.name);
    const std::optional<NameOrder> second = namedByFolder(b.name);
    if (first && second)
        return *second < *first;
    return a.name > b.name;
}

std::time_t modified(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mtime : 0;
}

} // namespace

ReplayFolder::ReplayFolder(int limit, std::string folder)
    : limit(limit), folder(std::move(folder)) {}

std::string ReplayFolder::defaultFolder() {
    const std::string data = UserFolders::data();
    return data.empty() ? "" : data + "/replays";
}

std::string ReplayFolder::newRecording(std::time_t now) {
    const std::string problem = UserFolders::make(folder);
    if (!problem.empty())
        throw FileError("Cannot make the replays folder: " + problem);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, stampFormat, &local);
    for (int number = 1; number <= maxSameSecond; ++number) {
        const std::string path = folder + "/" + nameFor(stamp, number);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            throw FileError("Cannot record into " + path + ": " + std::strerror(errno));
    }
    throw FileError("Cannot record into " + folder + ": " + std::to_string(maxSameSecond) +
                    " recordings started within the second");
}

std::vector<ReplayListing> ReplayFolder::namedRecordings() const {
    std::vector<ReplayListing> named;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        ReplayListing listing;
        listing.name = entry.path().filename().string();
        listing.path = entry.path().string();
        listing.recorded = modified(listing.path);
        if (namedByFolder(listing.name) && !entry.is_symlink(error) &&
            entry.is_regular_file(error))
            named.push_back(std::move(listing));
    }
    return named;
}

void ReplayFolder::prune() const {
    std::vector<ReplayListing> named = namedRecordings();
    if (named.size() <= static_cast<std::size_t>(limit))
        return;
    std::sort(named.begin(), named.end(), newer);
    for (auto old = named.begin() + limit; old != named.end(); ++old)
        ::unlink(old->path.c_str());
}

int ReplayFolder::pruneCount() const {
    return std::max(0, static_cast<int>(namedRecordings().size()) - limit);
}

std::vector<ReplayListing> ReplayFolder::list() const {
    std::vector<ReplayListing> listings;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        ReplayListing listing;
        listing.name = entry.path().filename().string();
        if (listing.name.size() <= extension.size() ||
            listing.name.compare(listing.name.size() - extension.size(), extension.size(),
                                 extension) != 0)
            continue;
        listing.path = entry.path().string();
        listing.recorded = modified(listing.path);
        try {
            listing.summary = ReplaySummary::read(listing.path);
        } catch (const ReplayError& e) {
            listing.damage = e.what();
        }
        listings.push_back(std::move(listing));
    }
    std::sort(listings.begin(), listings.end(), newer);
    return listings;
}
