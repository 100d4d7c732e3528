#include "platform/id3v2file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <unistd.h>

#include "core/analysis/framesearch.h"

namespace zondari {
namespace {

// TagLib's text as the program's: UTF-8, with control characters (a
// comment's line ends) as spaces, since every place that shows it is one
// line.
std::string utf8(const TagLib::String& s)
{
    std::string out = s.to8Bit(true);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return out;
}

// The texts of the first frame with this id: multiple values (ID3v2.4)
// joined by " / ".
TagLib::StringList frameTexts(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const auto& frames = tag.frameListMap()[id];
    if (frames.isEmpty())
        return {};
    if (const auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frames.front()))
        return text->fieldList();
    return TagLib::StringList(frames.front()->toString());
}

std::string frameText(const TagLib::ID3v2::Tag& tag, const char* id)
{
    std::string out;
    for (const TagLib::String& s : frameTexts(tag, id)) {
        if (s.isEmpty())
            continue;
        out += (out.empty() ? "" : " / ") + utf8(s);
    }
    return out;
}

Id3v2Tag fromTagLib(const TagLib::ID3v2::Tag& t)
{
    Id3v2Tag tag;
    tag.version = static_cast<int>(t.header()->majorVersion());
    tag.title = frameText(t, "TIT2");
    tag.artist = frameText(t, "TPE1");
    tag.album = frameText(t, "TALB");
    // TagLib turns ID3v2.3's TYER (and 2.2's TYE) into TDRC.
    tag.year = id3v2::yearFromDate(frameText(t, "TDRC"));
    tag.track = frameText(t, "TRCK");
    const auto& comments = t.frameListMap()["COMM"];
    if (!comments.isEmpty()) {
        if (const auto* comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame*>(comments.front()))
            tag.comment = utf8(comment->text());
    }
    for (const TagLib::ID3v2::Frame* frame : t.frameListMap()["TXXX"]) {
        const auto* user = dynamic_cast<const TagLib::ID3v2::UserTextIdentificationFrame*>(frame);
        if (user && user->description().upper() == "REPLAYGAIN_TRACK_GAIN" && user->fieldList().size() > 1) {
            tag.trackGainDb = id3v2::gainFromText(user->fieldList()[1].to8Bit(true));
            break;
        }
    }
    // The first genre given; TagLib has already split ID3v2.3's "(17)" into
    // fields of their own.
    for (const TagLib::String& s : frameTexts(t, "TCON")) {
        const auto genre = id3v2::genreFromText(utf8(s));
        if (genre.name.empty() && genre.number < 0)
            continue;
        tag.genre = genre.name;
        tag.genreNumber = genre.number;
        break;
    }
    return tag;
}

// A header TagLib may be handed: "ID3", a major version TagLib knows (2 to
// 4), a size in syncsafe bytes that is not 0. Garbage in the size bytes
// means the header is damaged, not a tag of gigabytes.
bool usableHeader(std::string_view start)
{
    if (mp3::id3v2TagLength(start) <= 10)
        return false;
    const auto major = static_cast<unsigned char>(start[3]);
    if (major < 2 || major > 4)
        return false;
    const auto b = [&start](int i) { return static_cast<unsigned char>(start[static_cast<std::size_t>(i)]); };
    return (b(6) | b(7) | b(8) | b(9)) != 0;
}

// TagLib reads from memory: the bytes are all it ever sees, so a size that
// points past them cannot make it read more.
Id3v2Tag parse(const TagLib::ByteVector& bytes)
{
    TagLib::ByteVectorStream stream(bytes);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return {};
    const TagLib::ID3v2::Tag* tag = file.ID3v2Tag(false);
    return tag ? fromTagLib(*tag) : Id3v2Tag{};
}

// Up to `count` bytes at `offset` into `into`; how many came (fewer at the
// end of the file or on a failure).
std::size_t readFully(int fd, char* into, std::size_t count, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, into + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace

namespace id3v2file {

Id3v2Tag fromBytes(std::string_view start)
{
    if (!usableHeader(start))
        return {};
    if (start.size() > kLargestRead)
        start = start.substr(0, kLargestRead);
    return parse(TagLib::ByteVector(start.data(), static_cast<unsigned int>(start.size())));
}

} // namespace id3v2file

Id3v2Tag readId3v2(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    Id3v2Tag tag;
    struct stat st { };
    char header[10];
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && readFully(fd, header, sizeof header, 0) == sizeof header
        && usableHeader(std::string_view(header, sizeof header))) {
        // The tag the header announces, up to the file's end and the cap,
        // read straight into the buffer TagLib reads from.
        const std::uint64_t want
            = std::min<std::uint64_t>({mp3::id3v2TagLength(std::string_view(header, sizeof header)),
                static_cast<std::uint64_t>(st.st_size), id3v2file::kLargestRead});
        TagLib::ByteVector bytes(static_cast<unsigned int>(want));
        bytes.resize(static_cast<unsigned int>(readFully(fd, bytes.data(), bytes.size(), 0)));
        tag = parse(bytes);
    }
    ::close(fd);
    return tag;
}

} // namespace zondari
