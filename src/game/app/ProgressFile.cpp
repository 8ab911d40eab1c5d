#include "game/app/ProgressFile.h"

#include "engine/core/SafeFile.h"
#include "engine/media/PackedStream.h"
#include "game/play/PowerupShopController.h"

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void putInt(std::string& out, int value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
    }
}

int getInt(const std::string& in, size_t offset)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

int valueFor(const std::map<int, int>& table, int level)
{
    auto found = table.find(level);
    return found != table.end() ? found->second : 0;
}

// The folder part of a path, with its trailing slash ("" for a bare name).
std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

void ProgressFile::reset()
{
    highestLevel = 0;
    bubbleLimit = 3;
    coins = 25;
    waterEffect = true;
    levelPercent.clear();
    bestTimes.clear();
    problem.clear();
}

std::string ProgressFile::encode() const
{
    std::string out;
    out.reserve(SIZE);
    putInt(out, highestLevel);
    putInt(out, bubbleLimit);
    putInt(out, coins);
    out.push_back(waterEffect ? 1 : 0);
    out.append(3, '\0');
    for (int level = 0; level < LEVELS; ++level) {
        putInt(out, valueFor(levelPercent, level));
    }
    for (int level = 0; level < LEVELS; ++level) {
        putInt(out, valueFor(bestTimes, level));
    }
    return out;
}

bool ProgressFile::decode(const std::string& bytes)
{
    if (bytes.size() < static_cast<size_t>(SIZE)) {
        return false;
    }
    highestLevel = getInt(bytes, 0);
    bubbleLimit = getInt(bytes, 4);
    coins = getInt(bytes, 8);
    // Only the first byte of the flag's word counts.
    waterEffect = bytes[12] != 0;
    levelPercent.clear();
    bestTimes.clear();
    for (int level = 0; level < LEVELS; ++level) {
        levelPercent[level] = getInt(bytes, 16 + 4 * level);
        bestTimes[level] = getInt(bytes, 16 + 4 * LEVELS + 4 * level);
    }
    return true;
}

ProgressFile::Result ProgressFile::load(const std::string& path)
{
    reset();
    if (!exists(path.c_str())) {
        return Result::Missing;
    }
    // A damaged stream that would unpack differently on every read is
    // damage all the same.
    if (!PackedStream::checkFile(path).empty()) {
        return Result::Damaged;
    }
    // A file that is not a packfile at all does not open.
    PACKFILE* file = pack_fopen(path.c_str(), F_READ_PACKED);
    if (file == nullptr) {
        return Result::Damaged;
    }
    std::string bytes(SIZE, '\0');
    long got = pack_fread(&bytes[0], SIZE, file);
    bool failed = pack_ferror(file) != 0;
    pack_fclose(file);
    if (failed || got != SIZE || !decode(bytes)) {
        reset();
        return Result::Damaged;
    }
    // One flipped bit still unpacks; the values tell.
    std::string wrong = outOfRange();
    if (!wrong.empty()) {
        reset();
        problem = wrong;
        return Result::OutOfRange;
    }
    return Result::Loaded;
}

std::string ProgressFile::outOfRange() const
{
    if (highestLevel < 0 || highestLevel > LEVELS) {
        return "highest level " + std::to_string(highestLevel);
    }
    // A fresh profile has 3 bubbles, and the shop sells them up to its limit.
    if (bubbleLimit < 1 || bubbleLimit > PowerupShopController::MAX_BUBBLE_LIMIT) {
        return "bubble limit " + std::to_string(bubbleLimit);
    }
    if (coins < 0 || coins > MAX_COINS) {
        return "coins " + std::to_string(coins);
    }
    for (const auto& [level, rating] : levelPercent) {
        if (level >= 0 && level < LEVELS && (rating < 0 || rating > MAX_RATING)) {
            return "rating " + std::to_string(rating) + " of level " + std::to_string(level);
        }
    }
    for (const auto& [level, seconds] : bestTimes) {
        if (level >= 0 && level < LEVELS && (seconds < 0 || seconds > MAX_TIME)) {
            return "time " + std::to_string(seconds) + " of level " + std::to_string(level);
        }
    }
    return "";
}

bool ProgressFile::save(const std::string& path) const
{
    if (path.empty()) {
        return false;
    }
    // A private temporary name in the target's folder keeps the final
    // rename on one file system.
    std::string temporary = SafeFile::temporaryPattern(folderOf(path) + ".progress");
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        return false;
    }
    // mkstemp makes the file private; a save file gets the usual permissions.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);

    std::string bytes = encode();
    bool ok = false;
    PACKFILE* file = pack_fopen(temporary.c_str(), F_WRITE_PACKED);
    if (file != nullptr) {
        long written = pack_fwrite(bytes.data(), SIZE, file);
        ok = written == SIZE && pack_ferror(file) == 0;
        ok = pack_fclose(file) == 0 && ok;
    }
    if (ok) {
        // Allegro closes without syncing; the bytes must be on the disk
        // before the rename makes them the profile's progress.
        int synced = ::open(temporary.c_str(), O_WRONLY);
        ok = synced >= 0 && fsync(synced) == 0;
        if (synced >= 0) {
            close(synced);
        }
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) {
        SafeFile::syncFolderOf(path);
        return true;
    }
    std::remove(temporary.c_str());
    return false;
}
