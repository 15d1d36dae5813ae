#include "export/VideoEncoder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "export/ExportError.h"
#include "export/VideoTarget.h"

namespace {

// What each file type holds, and how it is encoded. H.264 and VP9 are tuned for speed: the
// export should keep up with play. Two seconds between key frames lets a player seek.
struct Format {
    const char* extension;
    const char* container;
    const char* encoder;
    AVPixelFormat pixels;
    const char* encoderOptions;
    const char* containerOptions;
};

const Format formats[] = {
    {".mp4", "mp4", "libx264", AV_PIX_FMT_YUV420P, "preset=veryfast:crf=23:g=120",
     "movflags=+faststart"},
    {".webm", "webm", "libvpx-vp9", AV_PIX_FMT_YUV420P,
     "deadline=realtime:cpu-used=8:row-mt=1:crf=32:b=0:g=120", ""},
    // The game's own pixels, bit for bit: FFV1 takes them as they are read back.
    {".mkv", "matroska", "ffv1", AV_PIX_FMT_BGR0, "level=3:slicecrc=1", ""},
};

const Format* formatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Format& format : formats)
        if (extension == format.extension)
            return &format;
    return nullptr;
}

std::string errorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

// "key=value:key=value" as FFmpeg's option dictionaries take it.
AVDictionary* optionsOf(const char* text) {
    AVDictionary* options = nullptr;
    av_dict_parse_string(&options, text, "=", ":", 0);
    return options;
}

} // namespace

struct VideoEncoder::Streams {
    ~Streams() {
        if (container && container->pb)
            avio_closep(&container->pb);
        avformat_free_context(container);
        avcodec_free_context(&codec);
        av_frame_free(&frame);
        av_packet_free(&packet);
        sws_freeContext(converter);
    }

    AVFormatContext* container = nullptr;
    AVStream* stream = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* converter = nullptr;
};

VideoEncoder::VideoEncoder(const std::string& path, int width, int height)
    : path(path), partPath(VideoTarget::createTemporary(path)), width(width), height(height),
      streams(std::make_unique<Streams>()) {
    // The libraries' own chatter would bury the one line that tells a failure.
    av_log_set_level(AV_LOG_QUIET);
    try {
        open();
    } catch (...) {
        discard();
        throw;
    }
}

void VideoEncoder::open() {
    const Format* format = formatOf(path);
    if (!format)
        fail("the file name must end in .mp4, .webm or .mkv");
    Streams& s = *streams;
    const int allocated =
        avformat_alloc_output_context2(&s.container, nullptr, format->container, partPath.c_str());
    if (allocated < 0)
        fail("the container could not be set up", allocated);
    const AVCodec* encoder = avcodec_find_encoder_by_name(format->encoder);
    if (!encoder)
        fail(std::string("this FFmpeg has no ") + format->encoder + " encoder");

    s.codec = avcodec_alloc_context3(encoder);
    s.codec->width = width;
    s.codec->height = height;
    s.codec->pix_fmt = format->pixels;
    s.codec->time_base = AVRational{1, framesPerSecond};
    s.codec->framerate = AVRational{framesPerSecond, 1};
    s.codec->thread_count = 0;
    if (format->pixels == AV_PIX_FMT_YUV420P) {
        // What the converter below makes: the standard-definition colours, studio range.
        s.codec->colorspace = AVCOL_SPC_SMPTE170M;
        s.codec->color_primaries = AVCOL_PRI_SMPTE170M;
        s.codec->color_trc = AVCOL_TRC_SMPTE170M;
        s.codec->color_range = AVCOL_RANGE_MPEG;
    }
    if (s.container->oformat->flags & AVFMT_GLOBALHEADER)
        s.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* encoderOptions = optionsOf(format->encoderOptions);
    const int opened = avcodec_open2(s.codec, encoder, &encoderOptions);
    av_dict_free(&encoderOptions);
    if (opened < 0)
        fail(std::string("the ") + format->encoder + " encoder could not be opened", opened);

    s.stream = avformat_new_stream(s.container, nullptr);
    if (!s.stream)
        fail("the video stream could not be added", AVERROR(ENOMEM));
    avcodec_parameters_from_context(s.stream->codecpar, s.codec);
    s.stream->time_base = s.codec->time_base;
    s.stream->avg_frame_rate = s.codec->framerate;
    s.stream->r_frame_rate = s.codec->framerate;

    const int created = avio_open(&s.container->pb, partPath.c_str(), AVIO_FLAG_WRITE);
    if (created < 0)
        fail(created);
    AVDictionary* containerOptions = optionsOf(format->containerOptions);
    const int header = avformat_write_header(s.container, &containerOptions);
    av_dict_free(&containerOptions);
    if (header < 0 || s.container->pb->error < 0)
        fail(header < 0 ? header : s.container->pb->error);

    s.frame = av_frame_alloc();
    s.packet = av_packet_alloc();
    if (!s.frame || !s.packet)
        fail(AVERROR(ENOMEM));
    s.frame->format = format->pixels;
    s.frame->width = width;
    s.frame->height = height;
    const int buffer = av_frame_get_buffer(s.frame, 0);
    if (buffer < 0)
        fail(buffer);
    s.converter = sws_getContext(width, height, AV_PIX_FMT_BGR0, width, height, format->pixels,
                                 SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!s.converter)
        fail("the colour converter could not be set up");
}

VideoEncoder::~VideoEncoder() {
    if (!finished)
        discard();
}

void VideoEncoder::addFrame(const std::uint8_t* pixels, std::ptrdiff_t stride) {
    Streams& s = *streams;
    // The encoder may still hold the last picture; it then gets a fresh buffer.
    const int writable = av_frame_make_writable(s.frame);
    if (writable < 0)
        fail(writable);
    const std::uint8_t* const source[4] = {pixels, nullptr, nullptr, nullptr};
    const int sourceStride[4] = {static_cast<int>(stride), 0, 0, 0};
    sws_scale(s.converter, source, sourceStride, 0, height, s.frame->data, s.frame->linesize);
    s.frame->pts = framesSent++;
    send(false);
}

void VideoEncoder::finish() {
    Streams& s = *streams;
    send(true);
    const int trailer = av_write_trailer(s.container);
    if (trailer < 0 || s.container->pb->error < 0)
        fail(trailer < 0 ? trailer : s.container->pb->error);
    // Closing writes what is still buffered, so a full disk may show only here.
    const int closed = avio_closep(&s.container->pb);
    if (closed < 0)
        fail(closed);
    std::error_code error;
    std::filesystem::rename(partPath, path, error);
    if (error)
        fail(error.message());
    finished = true;
}

// Hands the encoder the picture in the frame (or, last, the end of the pictures) and writes
// every packet it has ready.
void VideoEncoder::send(bool last) {
    Streams& s = *streams;
    const int sent = avcodec_send_frame(s.codec, last ? nullptr : s.frame);
    if (sent < 0)
        fail("encoding failed", sent);
    for (;;) {
        const int received = avcodec_receive_packet(s.codec, s.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        if (received < 0)
            fail("encoding failed", received);
        av_packet_rescale_ts(s.packet, s.codec->time_base, s.stream->time_base);
        s.packet->stream_index = s.stream->index;
        const int written = av_interleaved_write_frame(s.container, s.packet);
        if (written < 0 || s.container->pb->error < 0)
            fail(written < 0 ? written : s.container->pb->error);
    }
}

void VideoEncoder::discard() noexcept {
    streams.reset();
    std::error_code ignored;
    std::filesystem::remove(partPath, ignored);
}

void VideoEncoder::fail(const std::string& reason) const {
    throw ExportError("Cannot export to '" + path + "': " + reason);
}

void VideoEncoder::fail(int error) const { fail(errorText(error)); }

void VideoEncoder::fail(const std::string& what, int error) const {
    fail(what + " (" + errorText(error) + ")");
}
