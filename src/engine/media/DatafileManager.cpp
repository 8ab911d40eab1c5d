#include "engine/media/DatafileManager.h"

#include "engine/core/DebugLog.h"
#include "engine/media/DatafileChecker.h"

#include <map>

namespace {

struct Cache {
    std::map<std::string, DATAFILE*> files;
    std::map<std::string, int> references;
    std::string directory;
    unsigned generation = 1;
};

Cache& cache()
{
    static Cache instance;
    return instance;
}

int objectsIn(const DATAFILE* array)
{
    int n = 0;
    if (array != nullptr) {
        while (array[n].type != DAT_END) {
            ++n;
        }
    }
    return n;
}

} // namespace

DatafileManager::~DatafileManager()
{
    unload();
}

void DatafileManager::report(const std::string& path, const std::string& message)
{
    DebugLog::log("datafile [" + path + "] - " + message, true);
}

void DatafileManager::load(const std::string& fileName, const std::string& key)
{
    if (fileName.empty()) {
        return;
    }
    if (loaded) {
        unload();
    }
    Cache& c = cache();
    std::string path = fileName.find(c.directory) != std::string::npos ? fileName : c.directory + fileName;
    std::string cacheKey = key.empty() ? path : key;

    auto cached = c.files.find(cacheKey);
    if (cached != c.files.end() && cached->second != nullptr) {
        name = cacheKey;
        current = root = cached->second;
        ++c.references[cacheKey];
    } else {
        if (!exists(path.c_str())) {
            report(path, "file not found");
            return;
        }
        // Allegro's loader trusts every size it reads; a damaged file must
        // be turned away before it gets the chance to crash the game.
        std::string problem = DatafileChecker::checkFile(path);
        if (!problem.empty()) {
            report(path, "cannot parse file: " + problem);
            return;
        }
        DATAFILE* array = load_datafile(path.c_str());
        if (array == nullptr) {
            report(path, "cannot parse file");
            return;
        }
        c.files[cacheKey] = array;
        c.references[cacheKey] = 1;
        current = root = array;
        name = cacheKey;
    }
    // The last object of a file is out of reach of a top-level handle; the
    // game's datafiles are laid out with that in mind.
    int n = objectsIn(current) - 1;
    count = n < 0 ? 0 : n;
    loaded = true;
    generation = c.generation;
}

void DatafileManager::unload()
{
    if (!loaded || name.empty()) {
        return;
    }
    Cache& c = cache();
    bool stale = generation != c.generation;
    current = root = nullptr;
    loaded = false;
    if (stale) {
        // unloadAll already freed everything this handle knew.
        return;
    }
    int remaining = --c.references[name];
    if (remaining == 0) {
        DebugLog::log("unloading " + name);
        unload_datafile(c.files[name]);
        c.files[name] = nullptr;
    }
}

void DatafileManager::useSubDatafile(int index)
{
    if (root == nullptr || generation != cache().generation) {
        report(name, "trying to access unloaded datafile");
        return;
    }
    if (index < 0 || index >= objectsIn(root)) {
        report(name, "index [" + std::to_string(index) + "] out of range");
        return;
    }
    if (root[index].type != DAT_FILE || root[index].dat == nullptr) {
        report(name, "object [" + std::to_string(index) + "] is not a nested datafile");
        return;
    }
    current = static_cast<DATAFILE*>(root[index].dat);
    count = objectsIn(current);
}

bool DatafileManager::isValidIndex(int index) const
{
    if (current == nullptr || generation != cache().generation) {
        report(name, "trying to access unloaded datafile");
        return false;
    }
    if (index >= 0 && index < count) {
        return true;
    }
    report(name, "index [" + std::to_string(index) + "] out of range");
    return false;
}

void* DatafileManager::get(int index) const
{
    return isValidIndex(index) ? current[index].dat : nullptr;
}

int DatafileManager::getType(int index) const
{
    return isValidIndex(index) ? current[index].type : 0;
}

void DatafileManager::unloadAll()
{
    Cache& c = cache();
    for (auto& entry : c.references) {
        if (entry.second == 0) {
            continue;
        }
        entry.second = 0;
        DebugLog::log(entry.first);
        DATAFILE*& array = c.files[entry.first];
        if (array != nullptr) {
            unload_datafile(array);
            array = nullptr;
        }
    }
    c.files.clear();
    c.references.clear();
    ++c.generation;
}

void DatafileManager::setDirectory(const std::string& newDirectory)
{
    cache().directory = newDirectory;
}

const std::string& DatafileManager::directory()
{
    return cache().directory;
}

int DatafileManager::referenceCount(const std::string& key)
{
    const auto& references = cache().references;
    auto found = references.find(key);
    return found == references.end() ? 0 : found->second;
}
