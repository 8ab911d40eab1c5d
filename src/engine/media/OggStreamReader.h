#pragma once

#include <memory>
#include <string>

// Decodes an OGG Vorbis file a piece at a time into the PCM layout of
// Allegro's 16-bit samples: unsigned, in the machine's byte order, stereo
// interleaved left first. Effects read a whole file at once; music reads a
// buffer's worth each time the stream asks.
class OggStreamReader {
public:
    OggStreamReader();
    ~OggStreamReader();
    OggStreamReader(const OggStreamReader&) = delete;
    OggStreamReader& operator=(const OggStreamReader&) = delete;

    // False when the file is missing, is not OGG Vorbis, or has other than
    // one or two channels.
    bool open(const std::string& path);
    bool isOpen() const { return file != nullptr; }
    int channels() const { return channelCount; }
    long rate() const { return sampleRate; }

    // Writes up to `bytes` bytes (whole frames) to `out` and gives the number
    // written; with `loop` the file starts over at its end. Fewer bytes than
    // asked means the end of the file, or damage that ends it early.
    long read(char* out, long bytes, bool loop);
    bool rewind();

private:
    struct File;
    std::unique_ptr<File> file;
    int channelCount = 0;
    long sampleRate = 0;
};
