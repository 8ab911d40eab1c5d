#pragma once

#include <allegro.h>

#include <string>

// A handle on one Allegro datafile. All handles share a process-wide cache
// with reference counts, so a file used by many sprites is read once and
// freed when its last user lets go.
class DatafileManager {
public:
    DatafileManager() = default;
    ~DatafileManager();
    DatafileManager(const DatafileManager&) = delete;
    DatafileManager& operator=(const DatafileManager&) = delete;

    void load(const std::string& fileName, const std::string& key = "");
    void unload();
    void useSubDatafile(int index);
    bool isValidIndex(int index) const;
    void* get(int index) const;
    int getType(int index) const;
    bool isLoaded() const { return loaded; }

    static void unloadAll();
    static void setDirectory(const std::string& directory);
    static const std::string& directory();
    // Cache inspection, for tests and diagnostics.
    static int referenceCount(const std::string& key);

    DATAFILE* current = nullptr;
    DATAFILE* root = nullptr;
    std::string name;
    int count = 0;
    bool loaded = false;

private:
    static void report(const std::string& path, const std::string& message);
    // The cache generation this handle's arrays belong to; unloadAll starts
    // a new one, so handles left over from before it read as unloaded
    // instead of reaching freed memory.
    unsigned generation = 0;
};
