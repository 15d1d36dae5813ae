#include "export/VideoEncoder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
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
    const char* audioEncoder;
};

const Format formats[] = {
    {".mp4", "mp4", "libx264", AV_PIX_FMT_YUV420P, "preset=veryfast:crf=23:g=120",
     "movflags=+faststart", "aac"},
    {".webm", "webm", "libvpx-vp9", AV_PIX_FMT_YUV420P,
     "deadline=realtime:cpu-used=8:row-mt=1:crf=32:b=0:g=120", "", "libopus"},
    // The game's own pixels, bit for bit: FFV1 takes them as they are read back.
    {".mkv", "matroska", "ffv1", AV_PIX_FMT_BGR0, "level=3:slicecrc=1", "", "flac"},
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

// The first of the sample formats the audio encoder takes that the sound can be written in.
AVSampleFormat audioFormatFor(const AVCodec* encoder) {
    for (const AVSampleFormat* format = encoder->sample_fmts; format && *format != AV_SAMPLE_FMT_NONE;
         ++format)
        if (*format == AV_SAMPLE_FMT_FLTP || *format == AV_SAMPLE_FMT_FLT || *format == AV_SAMPLE_FMT_S16)
            return *format;
    return AV_SAMPLE_FMT_NONE;
}

std::int16_t toS16(float sample) {
    return static_cast<std::int16_t>(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
}

// The two planes of the sound into the frame, in its format.
void fillAudio(AVFrame* frame, const float* left, const float* right, int frames) {
    const float* planes[2] = {left, right};
    switch (frame->format) {
    case AV_SAMPLE_FMT_FLTP:
        for (int channel = 0; channel < 2; ++channel)
            std::copy(planes[channel], planes[channel] + frames,
                      reinterpret_cast<float*>(frame->data[channel]));
        return;
    case AV_SAMPLE_FMT_FLT: {
        float* out = reinterpret_cast<float*>(frame->data[0]);
        for (int i = 0; i < frames; ++i)
            out[2 * i] = left[i], out[2 * i + 1] = right[i];
        return;
    }
    default: {
        std::int16_t* out = reinterpret_cast<std::int16_t*>(frame->data[0]);
        for (int i = 0; i < frames; ++i)
            out[2 * i] = toS16(left[i]), out[2 * i + 1] = toS16(right[i]);
        return;
    }
    }
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
        avcodec_free_context(&audioCodec);
        av_frame_free(&audioFrame);
        if (fifo)
            av_audio_fifo_free(fifo);
    }

    AVFormatContext* container = nullptr;
    AVStream* stream = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* converter = nullptr;

    AVStream* audioStream = nullptr;
    AVCodecContext* audioCodec = nullptr;
    AVFrame* audioFrame = nullptr;
    // The sound waits here, as two planes of floats, until it fills the encoder's frames.
    AVAudioFifo* fifo = nullptr;
    std::vector<float> left, right;
};

VideoEncoder::VideoEncoder(const std::string& path, int width, int height, bool withAudio)
    : path(path), partPath(VideoTarget::createTemporary(path)), width(width), height(height),
      withAudio(withAudio),
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
    if (withAudio)
        openAudio(format->audioEncoder);

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
    send(s.codec, s.stream, s.frame);
}

void VideoEncoder::openAudio(const char* encoderName) {
    Streams& s = *streams;
    const AVCodec* encoder = avcodec_find_encoder_by_name(encoderName);
    if (!encoder)
        fail(std::string("this FFmpeg has no ") + encoderName + " encoder");
    const AVSampleFormat sampleFormat = audioFormatFor(encoder);
    if (sampleFormat == AV_SAMPLE_FMT_NONE)
        fail(std::string("the ") + encoderName + " encoder takes no sample format the game writes");
    s.audioCodec = avcodec_alloc_context3(encoder);
    s.audioCodec->sample_rate = audioRate;
    s.audioCodec->sample_fmt = sampleFormat;
    av_channel_layout_default(&s.audioCodec->ch_layout, 2);
    s.audioCodec->time_base = AVRational{1, audioRate};
    s.audioCodec->bit_rate = 160000;
    if (s.container->oformat->flags & AVFMT_GLOBALHEADER)
        s.audioCodec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int opened = avcodec_open2(s.audioCodec, encoder, nullptr);
    if (opened < 0)
        fail(std::string("the ") + encoderName + " encoder could not be opened", opened);

    s.audioStream = avformat_new_stream(s.container, nullptr);
    if (!s.audioStream)
        fail("the audio stream could not be added", AVERROR(ENOMEM));
    avcodec_parameters_from_context(s.audioStream->codecpar, s.audioCodec);
    s.audioStream->time_base = s.audioCodec->time_base;

    // An encoder that takes frames of any size gets one picture's sound at a time.
    const int frameSize = s.audioCodec->frame_size > 0 ? s.audioCodec->frame_size : audioFramesPerPicture;
    s.audioFrame = av_frame_alloc();
    s.fifo = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, frameSize + audioFramesPerPicture);
    if (!s.audioFrame || !s.fifo)
        fail(AVERROR(ENOMEM));
    s.audioFrame->format = sampleFormat;
    s.audioFrame->nb_samples = frameSize;
    s.audioFrame->sample_rate = audioRate;
    av_channel_layout_copy(&s.audioFrame->ch_layout, &s.audioCodec->ch_layout);
    const int buffer = av_frame_get_buffer(s.audioFrame, 0);
    if (buffer < 0)
        fail(buffer);
    s.left.resize(static_cast<std::size_t>(std::max(frameSize, audioFramesPerPicture)));
    s.right.resize(s.left.size());
}

void VideoEncoder::addAudio(const float* stereo) {
    Streams& s = *streams;
    for (int i = 0; i < audioFramesPerPicture; ++i) {
        s.left[static_cast<std::size_t>(i)] = stereo[2 * i];
        s.right[static_cast<std::size_t>(i)] = stereo[2 * i + 1];
    }
    void* planes[2] = {s.left.data(), s.right.data()};
    if (av_audio_fifo_write(s.fifo, planes, audioFramesPerPicture) < audioFramesPerPicture)
        fail(AVERROR(ENOMEM));
    while (av_audio_fifo_size(s.fifo) >= s.audioFrame->nb_samples)
        encodeAudio(s.audioFrame->nb_samples);
}

// The next frames of the waiting sound, through the encoder. The last, short frame is filled
// with silence for an encoder that takes only whole ones.
void VideoEncoder::encodeAudio(int frames) {
    Streams& s = *streams;
    const int writable = av_frame_make_writable(s.audioFrame);
    if (writable < 0)
        fail(writable);
    const int whole = s.audioFrame->nb_samples;
    std::fill(s.left.begin(), s.left.end(), 0.0f);
    std::fill(s.right.begin(), s.right.end(), 0.0f);
    void* planes[2] = {s.left.data(), s.right.data()};
    av_audio_fifo_read(s.fifo, planes, frames);
    const bool shortLast = s.audioCodec->codec->capabilities &
                           (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    const int sent = frames < whole && shortLast ? frames : whole;
    s.audioFrame->nb_samples = sent;
    fillAudio(s.audioFrame, s.left.data(), s.right.data(), sent);
    s.audioFrame->pts = audioFramesSent;
    audioFramesSent += sent;
    send(s.audioCodec, s.audioStream, s.audioFrame);
    s.audioFrame->nb_samples = whole;
}

void VideoEncoder::finish() {
    Streams& s = *streams;
    send(s.codec, s.stream, nullptr);
    if (withAudio) {
        if (av_audio_fifo_size(s.fifo) > 0)
            encodeAudio(av_audio_fifo_size(s.fifo));
        send(s.audioCodec, s.audioStream, nullptr);
    }
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

void VideoEncoder::send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    Streams& s = *streams;
    const int sent = avcodec_send_frame(codec, frame);
    if (sent < 0)
        fail("encoding failed", sent);
    for (;;) {
        const int received = avcodec_receive_packet(codec, s.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        if (received < 0)
            fail("encoding failed", received);
        av_packet_rescale_ts(s.packet, codec->time_base, stream->time_base);
        s.packet->stream_index = stream->index;
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
