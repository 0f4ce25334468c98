/*
 * Brindlow's own declaration of the CLAP 1.2.10 binary interface: the entry
 * object, the plug-in factory, descriptor, host and plug-in tables, processing
 * and events (this file), the extensions (clap_abi_ext.h) and the preset
 * discovery factory with preset-load (clap_abi_preset.h). Every size and offset
 * is pinned by static_asserts in clap_abi_layout.h for x86-64 (Linux and
 * Windows) and 32-bit Windows, so a build whose layout drifts fails to compile.
 *
 * Plain C structs with natural alignment (no packing), C linkage, usable from C11
 * and C++17. Every function pointer carries CLAP_ABI: __cdecl on Windows (only
 * 32-bit Windows has a choice; a C++ non-static member would be thiscall there, so
 * callbacks are free functions or static members), nothing elsewhere. Named
 * constants are C enums or macros; the fields and arguments that carry them are
 * fixed-width integers. Strings are UTF-8 and NUL-terminated; capacities count
 * the NUL.
 *
 * Thread tags on each member say who may call it and when:
 *   [main]   the host's main thread, one OS thread for the instance's life
 *            (on Windows also the GUI thread);
 *   [audio]  the audio role: the OS thread may differ per call, but an instance
 *            never sees two [audio] calls at once;
 *   [any]    any thread, also concurrently; [!audio] any thread but the audio one.
 * State tags: "active" = after a successful activate() until deactivate();
 * "processing" = between start_processing() and stop_processing();
 * "being-activated" = inside activate().
 */
#ifndef BRINDLOW_CLAP_ABI_H
#define BRINDLOW_CLAP_ABI_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#define CLAP_ABI __cdecl
#define CLAP_EXPORT __declspec(dllexport)
#else
#define CLAP_ABI
#define CLAP_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Basic types ---------------------------------------------------------- */

enum {
  CLAP_NAME_SIZE = 256,  /* capacity of name fields, NUL included */
  CLAP_PATH_SIZE = 1024, /* capacity of path fields, NUL included */
};

/* Stable identifier of a parameter, port, timer, ... */
typedef uint32_t clap_id;
#define CLAP_INVALID_ID UINT32_MAX /* "none": never a real id */

/* Fixed-point musical and real time: value = round(x * 2^31). */
typedef int64_t clap_beattime;
typedef int64_t clap_sectime;
#define CLAP_BEATTIME_FACTOR INT64_C(2147483648)
#define CLAP_SECTIME_FACTOR INT64_C(2147483648)

typedef struct clap_version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
} clap_version_t;

#define CLAP_VERSION_MAJOR 1
#define CLAP_VERSION_MINOR 2
#define CLAP_VERSION_REVISION 10
#define CLAP_VERSION_INIT {CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION}

/* The version this side follows; written into the entry and every descriptor. */
static const clap_version_t CLAP_VERSION = CLAP_VERSION_INIT;

/* Versions 0.x were pre-release; every 1.x shares this binary interface. */
static inline bool clap_version_is_compatible(clap_version_t v) { return v.major >= 1; }

/* ---- Entry point ---------------------------------------------------------- */

/* The library exports one const data object named clap_entry of this type.
 * The host calls init() first and deinit() last; both may run on any thread but
 * never concurrently with each other or with any other call into the library. */
typedef struct clap_plugin_entry {
  clap_version_t clap_version; /* CLAP_VERSION_INIT */
  /* Quick, silent set-up (hosts scan with it); plugin_path is the .clap file.
   * Must survive repeated init before deinit: act on the first call only.
   * true on success or when already initialised; false = nothing else is called. */
  bool(CLAP_ABI *init)(const char *plugin_path);
  /* Undoes init; may be repeated. Only init may follow. */
  void(CLAP_ABI *deinit)(void);
  /* [any] The factory for factory_id, or NULL for any id not offered. The caller
   * never frees the result. */
  const void *(CLAP_ABI *get_factory)(const char *factory_id);
} clap_plugin_entry_t;

/* Declared here so that a C++ definition gets external linkage and default
 * visibility; without an earlier extern declaration a namespace-scope const
 * object is local to its file. Defined once, in the adapter. */
CLAP_EXPORT extern const clap_plugin_entry_t clap_entry;

/* ---- Plug-in descriptor --------------------------------------------------- */

/* Static description of one plug-in; must stay valid until deinit. Optional
 * strings may be NULL or "" ("" is safer with hosts). */
typedef struct clap_plugin_descriptor {
  clap_version_t clap_version; /* CLAP_VERSION_INIT */
  const char *id;              /* mandatory, reverse-domain, never changed */
  const char *name;            /* mandatory */
  const char *vendor;
  const char *url;
  const char *manual_url;
  const char *support_url;
  const char *version; /* MAJOR(.MINOR(.REVISION)?)?( (Alpha|Beta) XREV)? */
  const char *description;
  const char *const *features; /* CLAP_PLUGIN_FEATURE_* strings, NULL-terminated */
} clap_plugin_descriptor_t;

/* Main category: at least one. */
#define CLAP_PLUGIN_FEATURE_INSTRUMENT "instrument"
#define CLAP_PLUGIN_FEATURE_AUDIO_EFFECT "audio-effect"
#define CLAP_PLUGIN_FEATURE_NOTE_EFFECT "note-effect"
#define CLAP_PLUGIN_FEATURE_NOTE_DETECTOR "note-detector"
#define CLAP_PLUGIN_FEATURE_ANALYZER "analyzer"
/* Sub-categories. */
#define CLAP_PLUGIN_FEATURE_SYNTHESIZER "synthesizer"
#define CLAP_PLUGIN_FEATURE_SAMPLER "sampler"
#define CLAP_PLUGIN_FEATURE_DRUM "drum"
#define CLAP_PLUGIN_FEATURE_DRUM_MACHINE "drum-machine"
#define CLAP_PLUGIN_FEATURE_FILTER "filter"
#define CLAP_PLUGIN_FEATURE_PHASER "phaser"
#define CLAP_PLUGIN_FEATURE_EQUALIZER "equalizer"
#define CLAP_PLUGIN_FEATURE_DEESSER "de-esser"
#define CLAP_PLUGIN_FEATURE_PHASE_VOCODER "phase-vocoder"
#define CLAP_PLUGIN_FEATURE_GRANULAR "granular"
#define CLAP_PLUGIN_FEATURE_FREQUENCY_SHIFTER "frequency-shifter"
#define CLAP_PLUGIN_FEATURE_PITCH_SHIFTER "pitch-shifter"
#define CLAP_PLUGIN_FEATURE_DISTORTION "distortion"
#define CLAP_PLUGIN_FEATURE_TRANSIENT_SHAPER "transient-shaper"
#define CLAP_PLUGIN_FEATURE_COMPRESSOR "compressor"
#define CLAP_PLUGIN_FEATURE_EXPANDER "expander"
#define CLAP_PLUGIN_FEATURE_GATE "gate"
#define CLAP_PLUGIN_FEATURE_LIMITER "limiter"
#define CLAP_PLUGIN_FEATURE_FLANGER "flanger"
#define CLAP_PLUGIN_FEATURE_CHORUS "chorus"
#define CLAP_PLUGIN_FEATURE_DELAY "delay"
#define CLAP_PLUGIN_FEATURE_REVERB "reverb"
#define CLAP_PLUGIN_FEATURE_TREMOLO "tremolo"
#define CLAP_PLUGIN_FEATURE_GLITCH "glitch"
#define CLAP_PLUGIN_FEATURE_UTILITY "utility"
#define CLAP_PLUGIN_FEATURE_PITCH_CORRECTION "pitch-correction"
#define CLAP_PLUGIN_FEATURE_RESTORATION "restoration"
#define CLAP_PLUGIN_FEATURE_MULTI_EFFECTS "multi-effects"
#define CLAP_PLUGIN_FEATURE_MIXING "mixing"
#define CLAP_PLUGIN_FEATURE_MASTERING "mastering"
/* Audio capability. */
#define CLAP_PLUGIN_FEATURE_MONO "mono"
#define CLAP_PLUGIN_FEATURE_STEREO "stereo"
#define CLAP_PLUGIN_FEATURE_SURROUND "surround"
#define CLAP_PLUGIN_FEATURE_AMBISONIC "ambisonic"

/* ---- Host ----------------------------------------------------------------- */

/* Supplied by the host, read-only for the plug-in; valid until after the
 * plug-in's destroy(). */
typedef struct clap_host {
  clap_version_t clap_version;
  void *host_data; /* the host's own; never touched by the plug-in */
  const char *name;    /* always set */
  const char *vendor;
  const char *url;
  const char *version; /* always set */
  /* [any] Host extension table or NULL. Not from create_plugin; allowed from
   * plugin->init on. */
  const void *(CLAP_ABI *get_extension)(const struct clap_host *host, const char *extension_id);
  /* [any] The host deactivates and reactivates the plug-in, maybe later. */
  void(CLAP_ABI *request_restart)(const struct clap_host *host);
  /* [any] The host activates and starts processing (wakes a sleeping plug-in). */
  void(CLAP_ABI *request_process)(const struct clap_host *host);
  /* [any] The host later calls plugin->on_main_thread, with no time guarantee. */
  void(CLAP_ABI *request_callback)(const struct clap_host *host);
} clap_host_t;

/* ---- Processing types ----------------------------------------------------- */

typedef struct clap_event_header {
  uint32_t size;     /* whole event, header included; events are copied with this size */
  uint32_t time;     /* sample offset in the block, < frames_count */
  uint16_t space_id; /* CLAP_CORE_EVENT_SPACE_ID for every core event */
  uint16_t type;     /* CLAP_EVENT_* */
  uint32_t flags;    /* CLAP_EVENT_IS_LIVE | CLAP_EVENT_DONT_RECORD */
} clap_event_header_t;

#define CLAP_CORE_EVENT_SPACE_ID 0

enum clap_event_flags {
  CLAP_EVENT_IS_LIVE = 1 << 0,     /* a live user action */
  CLAP_EVENT_DONT_RECORD = 1 << 1, /* not to be recorded as automation */
};

/* Event types in the core space; any other space or type is skipped. */
enum {
  CLAP_EVENT_NOTE_ON = 0,
  CLAP_EVENT_NOTE_OFF = 1,
  CLAP_EVENT_NOTE_CHOKE = 2,
  CLAP_EVENT_NOTE_END = 3,
  CLAP_EVENT_NOTE_EXPRESSION = 4,
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
  CLAP_EVENT_MIDI = 10,
  CLAP_EVENT_MIDI_SYSEX = 11,
  CLAP_EVENT_MIDI2 = 12,
};

/* NOTE_ON, NOTE_OFF, NOTE_CHOKE, NOTE_END. -1 in an address field = any. */
typedef struct clap_event_note {
  clap_event_header_t header;
  int32_t note_id;    /* -1 = none */
  int16_t port_index;
  int16_t channel;    /* 0..15 */
  int16_t key;        /* 0..127, 60 = middle C */
  double velocity;    /* 0..1; a NOTE_ON with velocity 0 is still a note-on */
} clap_event_note_t;

typedef int32_t clap_note_expression;
enum {
  CLAP_NOTE_EXPRESSION_VOLUME = 0,
  CLAP_NOTE_EXPRESSION_PAN = 1,
  CLAP_NOTE_EXPRESSION_TUNING = 2,
  CLAP_NOTE_EXPRESSION_VIBRATO = 3,
  CLAP_NOTE_EXPRESSION_EXPRESSION = 4,
  CLAP_NOTE_EXPRESSION_BRIGHTNESS = 5,
  CLAP_NOTE_EXPRESSION_PRESSURE = 6,
};

typedef struct clap_event_note_expression {
  clap_event_header_t header;
  clap_note_expression expression_id;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;
} clap_event_note_expression_t;

/* PARAM_VALUE. value is plain (the parameter's own units, never normalised).
 * cookie is clap_param_info.cookie or NULL; both must work. note_id, port_index,
 * channel and key are -1 for a global change. */
typedef struct clap_event_param_value {
  clap_event_header_t header;
  clap_id param_id;
  void *cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;
} clap_event_param_value_t;

/* PARAM_MOD: same layout; the heard value is value + amount. */
typedef struct clap_event_param_mod {
  clap_event_header_t header;
  clap_id param_id;
  void *cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double amount;
} clap_event_param_mod_t;

/* PARAM_GESTURE_BEGIN / _END frame a user gesture (knob grabbed ... released). */
typedef struct clap_event_param_gesture {
  clap_event_header_t header;
  clap_id param_id;
} clap_event_param_gesture_t;

enum clap_transport_flags {
  CLAP_TRANSPORT_HAS_TEMPO = 1 << 0,
  CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1 << 1,
  CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1 << 2,
  CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1 << 3,
  CLAP_TRANSPORT_IS_PLAYING = 1 << 4,
  CLAP_TRANSPORT_IS_RECORDING = 1 << 5,
  CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1 << 6,
  CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1 << 7,
};

/* TRANSPORT event, and the state at sample 0 that clap_process points to. */
typedef struct clap_event_transport {
  clap_event_header_t header;
  uint32_t flags; /* CLAP_TRANSPORT_* */
  clap_beattime song_pos_beats;
  clap_sectime song_pos_seconds;
  double tempo;     /* beats per minute */
  double tempo_inc; /* tempo change per sample */
  clap_beattime loop_start_beats;
  clap_beattime loop_end_beats;
  clap_sectime loop_start_seconds;
  clap_sectime loop_end_seconds;
  clap_beattime bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
} clap_event_transport_t;

typedef struct clap_event_midi {
  clap_event_header_t header;
  uint16_t port_index;
  uint8_t data[3];
} clap_event_midi_t;

/* The buffer is borrowed: valid only during the process() (host to plug-in) or
 * try_push() (plug-in to host) call that carries it. */
typedef struct clap_event_midi_sysex {
  clap_event_header_t header;
  uint16_t port_index;
  const uint8_t *buffer;
  uint32_t size;
} clap_event_midi_sysex_t;

typedef struct clap_event_midi2 {
  clap_event_header_t header;
  uint16_t port_index;
  uint32_t data[4];
} clap_event_midi2_t;

/* Events for one process() or flush() call, sorted by time; the list owns them.
 * [audio] during process, or the caller's thread during flush. */
typedef struct clap_input_events {
  void *ctx; /* the host's */
  uint32_t(CLAP_ABI *size)(const struct clap_input_events *list);
  const clap_event_header_t *(CLAP_ABI *get)(const struct clap_input_events *list, uint32_t index);
} clap_input_events_t;

/* The host copies header.size bytes; false = not stored. Push in non-decreasing
 * time. */
typedef struct clap_output_events {
  void *ctx; /* the host's */
  bool(CLAP_ABI *try_push)(const struct clap_output_events *list, const clap_event_header_t *event);
} clap_output_events_t;

/* One audio port's channels for one block. Exactly one of data32/data64 is set;
 * data64 only on ports flagged CLAP_AUDIO_PORT_SUPPORTS_64BITS. Inputs are
 * read-only; every frame of every output channel is written on every call. */
typedef struct clap_audio_buffer {
  float **data32;
  double **data64;
  uint32_t channel_count;
  uint32_t latency;       /* to or from the audio interface; information only */
  uint64_t constant_mask; /* bit i: channel i holds one value for the block; 0 is always correct */
} clap_audio_buffer_t;

typedef int32_t clap_process_status;
enum {
  CLAP_PROCESS_ERROR = 0,                 /* output discarded */
  CLAP_PROCESS_CONTINUE = 1,
  CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2, /* the host may stop once the output is silent */
  CLAP_PROCESS_TAIL = 3,                  /* the host decides from the tail extension */
  CLAP_PROCESS_SLEEP = 4,                 /* nothing to do until new events or input */
};

/* Everything reachable from here is valid only during the process() call. */
typedef struct clap_process {
  int64_t steady_time;   /* sample counter, -1 if unknown; may go back after reset */
  uint32_t frames_count; /* within the activate() bounds */
  const clap_event_transport_t *transport; /* NULL for a free-running host */
  const clap_audio_buffer_t *audio_inputs; /* one per input port, in port order */
  clap_audio_buffer_t *audio_outputs;      /* one per output port; may share input pointers */
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events_t *in_events;
  const clap_output_events_t *out_events;
} clap_process_t;

/* ---- Plug-in -------------------------------------------------------------- */

/* Supplied by the plug-in; it owns the object and frees it in destroy().
 * Life cycle: init -> (activate -> (start_processing -> process... ->
 * stop_processing)... -> deactivate)... -> destroy. While active the sample rate,
 * latency and port layout are frozen. */
typedef struct clap_plugin {
  const clap_plugin_descriptor_t *desc; /* the factory's descriptor */
  void *plugin_data;                    /* the plug-in's own */
  /* [main] First call after creation; the host and its extensions are usable.
   * false: the host destroys it; true: it is deactivated. */
  bool(CLAP_ABI *init)(const struct clap_plugin *plugin);
  /* [main, !active] */
  void(CLAP_ABI *destroy)(const struct clap_plugin *plugin);
  /* [main, !active] May allocate; every block then has min..max frames. */
  bool(CLAP_ABI *activate)(const struct clap_plugin *plugin, double sample_rate, uint32_t min_frames_count,
                           uint32_t max_frames_count);
  /* [main, active] */
  void(CLAP_ABI *deactivate)(const struct clap_plugin *plugin);
  /* [audio, active, !processing] */
  bool(CLAP_ABI *start_processing)(const struct clap_plugin *plugin);
  /* [audio, active, processing] */
  void(CLAP_ABI *stop_processing)(const struct clap_plugin *plugin);
  /* [audio, active] Clears delay lines, filters and smoothing; parameters stay. */
  void(CLAP_ABI *reset)(const struct clap_plugin *plugin);
  /* [audio, active, processing] */
  clap_process_status(CLAP_ABI *process)(const struct clap_plugin *plugin, const clap_process_t *process);
  /* [any] Extension table or NULL for unknown ids; never before init. */
  const void *(CLAP_ABI *get_extension)(const struct clap_plugin *plugin, const char *id);
  /* [main] Answers host->request_callback. */
  void(CLAP_ABI *on_main_thread)(const struct clap_plugin *plugin);
} clap_plugin_t;

/* ---- Plug-in factory ------------------------------------------------------ */

static const char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

/* Every call [any]. */
typedef struct clap_plugin_factory {
  uint32_t(CLAP_ABI *get_plugin_count)(const struct clap_plugin_factory *factory);
  /* NULL for a bad index; the descriptor stays valid until deinit. */
  const clap_plugin_descriptor_t *(CLAP_ABI *get_plugin_descriptor)(const struct clap_plugin_factory *factory,
                                                                    uint32_t index);
  /* Exact id match only, otherwise NULL. Makes no host calls; host stays valid
   * until after the plug-in's destroy(). */
  const clap_plugin_t *(CLAP_ABI *create_plugin)(const struct clap_plugin_factory *factory,
                                                 const clap_host_t *host, const char *plugin_id);
} clap_plugin_factory_t;

/* ---- Streams (state) ------------------------------------------------------ */

/* Hosts may move only a few bytes per call and never give the total length:
 * loop, and keep the format self-delimiting. */
typedef struct clap_istream {
  void *ctx; /* the host's */
  /* Bytes read (may be fewer than asked), 0 at end of stream, -1 on error. */
  int64_t(CLAP_ABI *read)(const struct clap_istream *stream, void *buffer, uint64_t size);
} clap_istream_t;

typedef struct clap_ostream {
  void *ctx; /* the host's */
  /* Bytes written (may be fewer than asked), -1 on error; treat 0 as failure. */
  int64_t(CLAP_ABI *write)(const struct clap_ostream *stream, const void *buffer, uint64_t size);
} clap_ostream_t;

#ifdef __cplusplus
}
#endif

#include "clap_abi_ext.h"
#include "clap_abi_preset.h"
#include "clap_abi_layout.h"

#endif /* BRINDLOW_CLAP_ABI_H */
