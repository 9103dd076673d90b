// Movies through libavformat (container), libavcodec (pictures) and
// libswscale (conversion to RGBA). Only the first video stream is read.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <vector>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace platform {

struct MovieStream {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    int stream = -1;
    AVPacket* packet = nullptr;
    AVFrame* pending = nullptr;  // decoded, not yet due
    AVFrame* shown = nullptr;
    bool hasPending = false;
    bool shownAny = false;
    bool draining = false;
    SwsContext* scaler = nullptr;
    std::vector<uint8_t> rgba;
};

namespace {

bool OpenDecoder(MovieStream* movie) {
    const AVCodec* decoder = nullptr;
    movie->stream = av_find_best_stream(movie->format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (movie->stream < 0 || !decoder) return false;
    movie->codec = avcodec_alloc_context3(decoder);
    if (!movie->codec) return false;
    if (avcodec_parameters_to_context(movie->codec,
                                      movie->format->streams[movie->stream]->codecpar) < 0)
        return false;
    if (avcodec_open2(movie->codec, decoder, nullptr) < 0) return false;
    return movie->codec->width > 0 && movie->codec->height > 0;
}

// Feeds packets until the decoder gives a picture; false at the end of the file.
bool DecodeNext(MovieStream* movie) {
    for (;;) {
        const int received = avcodec_receive_frame(movie->codec, movie->pending);
        if (received == 0) return true;
        if (received != AVERROR(EAGAIN) || movie->draining) return false;
        if (av_read_frame(movie->format, movie->packet) < 0) {
            movie->draining = true;
            avcodec_send_packet(movie->codec, nullptr);
            continue;
        }
        if (movie->packet->stream_index == movie->stream)
            avcodec_send_packet(movie->codec, movie->packet);
        av_packet_unref(movie->packet);
    }
}

double FrameMs(const MovieStream* movie, const AVFrame* frame) {
    const AVStream* stream = movie->format->streams[movie->stream];
    int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return 0;
    if (stream->start_time != AV_NOPTS_VALUE) pts -= stream->start_time;
    return pts * av_q2d(stream->time_base) * 1000.0;
}

const uint8_t* ConvertShown(MovieStream* movie) {
    const AVFrame* frame = movie->shown;
    const int width = movie->codec->width, height = movie->codec->height;
    movie->scaler = sws_getCachedContext(movie->scaler, frame->width, frame->height,
                                         static_cast<AVPixelFormat>(frame->format), width, height,
                                         AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!movie->scaler) return nullptr;
    movie->rgba.resize(static_cast<size_t>(width) * height * 4);
    uint8_t* planes[4] = {movie->rgba.data(), nullptr, nullptr, nullptr};
    int strides[4] = {width * 4, 0, 0, 0};
    sws_scale(movie->scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    return movie->rgba.data();
}

}  // namespace

MovieStream* OpenMovie(const char* path) {
    if (!path) return nullptr;
    av_log_set_level(AV_LOG_QUIET);
    auto* movie = new MovieStream;
    bool opened =
        avformat_open_input(&movie->format, NativePath(path).c_str(), nullptr, nullptr) == 0;
    opened = opened && avformat_find_stream_info(movie->format, nullptr) >= 0;
    opened = opened && OpenDecoder(movie);
    movie->packet = av_packet_alloc();
    movie->pending = av_frame_alloc();
    movie->shown = av_frame_alloc();
    if (!opened || !movie->packet || !movie->pending || !movie->shown) {
        CloseMovie(movie);
        return nullptr;
    }
    Trace("movie open");
    return movie;
}

void CloseMovie(MovieStream* movie) {
    if (!movie) return;
    if (movie->codec) Trace("movie close");
    sws_freeContext(movie->scaler);
    av_frame_free(&movie->pending);
    av_frame_free(&movie->shown);
    av_packet_free(&movie->packet);
    avcodec_free_context(&movie->codec);
    avformat_close_input(&movie->format);
    delete movie;
}

void MovieSize(MovieStream* movie, int* width, int* height) {
    *width = movie ? movie->codec->width : 0;
    *height = movie ? movie->codec->height : 0;
}

double MovieLengthMs(MovieStream* movie) {
    if (!movie) return 0;
    if (movie->format->duration != AV_NOPTS_VALUE && movie->format->duration > 0)
        return movie->format->duration * 1000.0 / AV_TIME_BASE;
    const AVStream* stream = movie->format->streams[movie->stream];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return stream->duration * av_q2d(stream->time_base) * 1000.0;
    return 0;
}

const uint8_t* MovieFrameAt(MovieStream* movie, double ms) {
    if (!movie) return nullptr;
    bool advanced = false;
    for (;;) {
        if (!movie->hasPending) {
            if (!DecodeNext(movie)) break;
            movie->hasPending = true;
        }
        if (movie->shownAny && FrameMs(movie, movie->pending) > ms) break;
        av_frame_unref(movie->shown);
        av_frame_move_ref(movie->shown, movie->pending);
        movie->hasPending = false;
        movie->shownAny = true;
        advanced = true;
    }
    return advanced ? ConvertShown(movie) : nullptr;
}

void RewindMovie(MovieStream* movie) {
    if (!movie) return;
    const AVStream* stream = movie->format->streams[movie->stream];
    const int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    av_seek_frame(movie->format, movie->stream, start, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(movie->codec);
    av_frame_unref(movie->pending);
    movie->hasPending = false;
    movie->shownAny = false;
    movie->draining = false;
}

}  // namespace platform
