/*
 * CLAP extensions: the tables each side returns from get_extension(). Plug-in
 * tables ("clap_plugin_*") stay valid until the plug-in's destroy(); host tables
 * ("clap_host_*") until after it. Unknown ids give NULL. Thread and state tags as
 * in clap_abi.h. Included by clap_abi.h; include that instead.
 */
#ifndef BRINDLOW_CLAP_ABI_EXT_H
#define BRINDLOW_CLAP_ABI_EXT_H

#ifndef BRINDLOW_CLAP_ABI_H
#error "include clap_abi.h, not clap_abi_ext.h"
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- audio-ports: without it the plug-in has no audio ports -------------- */

static const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
static const char CLAP_PORT_MONO[] = "mono";
static const char CLAP_PORT_STEREO[] = "stereo"; /* channel 0 left, 1 right */
static const char CLAP_PORT_SURROUND[] = "surround";
static const char CLAP_PORT_AMBISONIC[] = "ambisonic";

enum {
  CLAP_AUDIO_PORT_IS_MAIN = 1 << 0, /* at most one main input and output, each at index 0 */
  CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
  CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
  CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

typedef struct clap_audio_port_info {
  clap_id id; /* stable; an input and an output may share it */
  char name[CLAP_NAME_SIZE];
  uint32_t flags; /* CLAP_AUDIO_PORT_* */
  uint32_t channel_count;
  const char *port_type;  /* CLAP_PORT_* (static string), or NULL / "" = unspecified */
  clap_id in_place_pair;  /* port in the other direction that may share buffers, or CLAP_INVALID_ID */
} clap_audio_port_info_t;

/* Ports change only while deactivated, which is also when hosts scan them. */
typedef struct clap_plugin_audio_ports {
  /* [main] */
  uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin, bool is_input);
  /* [main] */
  bool(CLAP_ABI *get)(const clap_plugin_t *plugin, uint32_t index, bool is_input, clap_audio_port_info_t *info);
} clap_plugin_audio_ports_t;

/* Use only flags the host reports as supported; all but NAMES need the plug-in
 * deactivated. */
enum {
  CLAP_AUDIO_PORTS_RESCAN_NAMES = 1 << 0,
  CLAP_AUDIO_PORTS_RESCAN_FLAGS = 1 << 1,
  CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 1 << 2,
  CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 1 << 3,
  CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 1 << 4,
  CLAP_AUDIO_PORTS_RESCAN_LIST = 1 << 5,
};

typedef struct clap_host_audio_ports {
  /* [main] */
  bool(CLAP_ABI *is_rescan_flag_supported)(const clap_host_t *host, uint32_t flag);
  /* [main] */
  void(CLAP_ABI *rescan)(const clap_host_t *host, uint32_t flags);
} clap_host_audio_ports_t;

/* ---- audio-ports-config: named layouts offered as a menu ----------------- */

static const char CLAP_EXT_AUDIO_PORTS_CONFIG[] = "clap.audio-ports-config";
static const char CLAP_EXT_AUDIO_PORTS_CONFIG_INFO[] = "clap.audio-ports-config-info/1";
static const char CLAP_EXT_AUDIO_PORTS_CONFIG_INFO_COMPAT[] = "clap.audio-ports-config-info/draft-0";

typedef struct clap_audio_ports_config {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t input_port_count;
  uint32_t output_port_count;
  bool has_main_input;
  uint32_t main_input_channel_count;
  const char *main_input_port_type;
  bool has_main_output;
  uint32_t main_output_channel_count;
  const char *main_output_port_type;
} clap_audio_ports_config_t;

typedef struct clap_plugin_audio_ports_config {
  /* [main] */
  uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin);
  /* [main] */
  bool(CLAP_ABI *get)(const clap_plugin_t *plugin, uint32_t index, clap_audio_ports_config_t *config);
  /* [main, !active] The host re-reads the audio ports afterwards. */
  bool(CLAP_ABI *select)(const clap_plugin_t *plugin, clap_id config_id);
} clap_plugin_audio_ports_config_t;

typedef struct clap_plugin_audio_ports_config_info {
  /* [main] CLAP_INVALID_ID if the current layout is not listed. */
  clap_id(CLAP_ABI *current_config)(const clap_plugin_t *plugin);
  /* [main] */
  bool(CLAP_ABI *get)(const clap_plugin_t *plugin, clap_id config_id, uint32_t port_index, bool is_input,
                      clap_audio_port_info_t *info);
} clap_plugin_audio_ports_config_info_t;

typedef struct clap_host_audio_ports_config {
  /* [main] */
  void(CLAP_ABI *rescan)(const clap_host_t *host);
} clap_host_audio_ports_config_t;

/* ---- params --------------------------------------------------------------- */

static const char CLAP_EXT_PARAMS[] = "clap.params";

enum {
  CLAP_PARAM_IS_STEPPED = 1 << 0, /* integers only */
  CLAP_PARAM_IS_PERIODIC = 1 << 1,
  CLAP_PARAM_IS_HIDDEN = 1 << 2,
  CLAP_PARAM_IS_READONLY = 1 << 3,
  CLAP_PARAM_IS_BYPASS = 1 << 4, /* stepped, 0 = off, 1 = bypassed; at most one */
  CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
  CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 1 << 6,
  CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 1 << 7,
  CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 1 << 8,
  CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 1 << 9,
  CLAP_PARAM_IS_MODULATABLE = 1 << 10,
  CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 1 << 11,
  CLAP_PARAM_IS_MODULATABLE_PER_KEY = 1 << 12,
  CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 1 << 13,
  CLAP_PARAM_IS_MODULATABLE_PER_PORT = 1 << 14,
  CLAP_PARAM_REQUIRES_PROCESS = 1 << 15, /* while active, changes only through process */
  CLAP_PARAM_IS_ENUM = 1 << 16,          /* with IS_STEPPED; every value has text */
};
typedef uint32_t clap_param_info_flags;

typedef struct clap_param_info {
  clap_id id; /* stable forever; not the index */
  clap_param_info_flags flags;
  void *cookie; /* comes back in events (or NULL does); invalid after rescan(ALL) */
  char name[CLAP_NAME_SIZE];
  char module[CLAP_PATH_SIZE]; /* "/"-separated group path, or "" */
  double min_value;     /* plain values, finite */
  double max_value;
  double default_value; /* within [min, max]; get_value gives it right after init */
} clap_param_info_t;

/* Values reach the plug-in only as PARAM_VALUE events in process() or flush();
 * editor edits go back as GESTURE_BEGIN, PARAM_VALUE..., GESTURE_END output
 * events from those calls. */
typedef struct clap_plugin_params {
  /* [main] */
  uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin);
  /* [main] */
  bool(CLAP_ABI *get_info)(const clap_plugin_t *plugin, uint32_t param_index, clap_param_info_t *info);
  /* [main] Current plain value; the audio thread may be changing it. */
  bool(CLAP_ABI *get_value)(const clap_plugin_t *plugin, clap_id param_id, double *value);
  /* [main] NUL-terminated text of at most capacity bytes. */
  bool(CLAP_ABI *value_to_text)(const clap_plugin_t *plugin, clap_id param_id, double value, char *display,
                                uint32_t capacity);
  /* [main] */
  bool(CLAP_ABI *text_to_value)(const clap_plugin_t *plugin, clap_id param_id, const char *display,
                                double *value);
  /* [audio] if active, else [main]; never concurrent with process(). */
  void(CLAP_ABI *flush)(const clap_plugin_t *plugin, const clap_input_events_t *in,
                        const clap_output_events_t *out);
} clap_plugin_params_t;

enum {
  CLAP_PARAM_RESCAN_VALUES = 1 << 0, /* re-read values, not recorded (e.g. after a preset load) */
  CLAP_PARAM_RESCAN_TEXT = 1 << 1,
  CLAP_PARAM_RESCAN_INFO = 1 << 2, /* name, module, periodic, hidden */
  CLAP_PARAM_RESCAN_ALL = 1 << 3,  /* only while deactivated */
};
typedef uint32_t clap_param_rescan_flags;

enum {
  CLAP_PARAM_CLEAR_ALL = 1 << 0,
  CLAP_PARAM_CLEAR_AUTOMATIONS = 1 << 1,
  CLAP_PARAM_CLEAR_MODULATIONS = 1 << 2,
};
typedef uint32_t clap_param_clear_flags;

typedef struct clap_host_params {
  /* [main] */
  void(CLAP_ABI *rescan)(const clap_host_t *host, clap_param_rescan_flags flags);
  /* [main] */
  void(CLAP_ABI *clear)(const clap_host_t *host, clap_id param_id, clap_param_clear_flags flags);
  /* [any, !audio] Asks for a flush() or process() so output events can be sent. */
  void(CLAP_ABI *request_flush)(const clap_host_t *host);
} clap_host_params_t;

/* ---- state: without it nothing is saved in projects ----------------------- */

static const char CLAP_EXT_STATE[] = "clap.state";

typedef struct clap_plugin_state {
  /* [main] */
  bool(CLAP_ABI *save)(const clap_plugin_t *plugin, const clap_ostream_t *stream);
  /* [main] false for an empty or unreadable stream. */
  bool(CLAP_ABI *load)(const clap_plugin_t *plugin, const clap_istream_t *stream);
} clap_plugin_state_t;

typedef struct clap_host_state {
  /* [main] The state changed other than by a parameter change. */
  void(CLAP_ABI *mark_dirty)(const clap_host_t *host);
} clap_host_state_t;

static const char CLAP_EXT_STATE_CONTEXT[] = "clap.state-context/2";
enum {
  CLAP_STATE_CONTEXT_FOR_PRESET = 1,
  CLAP_STATE_CONTEXT_FOR_DUPLICATE = 2,
  CLAP_STATE_CONTEXT_FOR_PROJECT = 3,
};

typedef struct clap_plugin_state_context {
  /* [main] */
  bool(CLAP_ABI *save)(const clap_plugin_t *plugin, const clap_ostream_t *stream, uint32_t context_type);
  /* [main] */
  bool(CLAP_ABI *load)(const clap_plugin_t *plugin, const clap_istream_t *stream, uint32_t context_type);
} clap_plugin_state_context_t;

/* ---- gui ------------------------------------------------------------------ */

static const char CLAP_EXT_GUI[] = "clap.gui";
static const char CLAP_WINDOW_API_WIN32[] = "win32";     /* physical pixels, child of an HWND */
static const char CLAP_WINDOW_API_X11[] = "x11";         /* physical pixels, parent is an X Window */
static const char CLAP_WINDOW_API_WAYLAND[] = "wayland"; /* physical pixels, floating only */
static const char CLAP_WINDOW_API_COCOA[] = "cocoa";     /* logical pixels, no set_scale */

typedef void *clap_hwnd;
typedef void *clap_nsview;
typedef void *clap_uiview;
typedef unsigned long clap_xwnd; /* 8 bytes on Linux x86-64, 4 on Windows; the union is pointer-sized */

typedef struct clap_window {
  const char *api; /* CLAP_WINDOW_API_* */
  union {
    clap_nsview cocoa;
    clap_uiview uikit;
    clap_xwnd x11;
    clap_hwnd win32;
    void *ptr;
  };
} clap_window_t;

typedef struct clap_gui_resize_hints {
  bool can_resize_horizontally;
  bool can_resize_vertically;
  bool preserve_aspect_ratio;
  uint32_t aspect_ratio_width;
  uint32_t aspect_ratio_height;
} clap_gui_resize_hints_t;

/* Every call [main]. Opening order: is_api_supported -> create -> floating:
 * set_transient, suggest_title | embedded: set_scale -> can_resize -> set_size
 * (resizable, remembered size) or get_size -> set_parent; then show / hide ...
 * -> destroy. get_size comes before set_parent. "Embedded" / "floating" below
 * name the only mode a call is made in. */
typedef struct clap_plugin_gui {
  bool(CLAP_ABI *is_api_supported)(const clap_plugin_t *plugin, const char *api, bool is_floating);
  /* A hint; *api points at one of the static API strings. */
  bool(CLAP_ABI *get_preferred_api)(const clap_plugin_t *plugin, const char **api, bool *is_floating);
  /* Allocates, not yet visible; embedded windows wait for set_parent. */
  bool(CLAP_ABI *create)(const clap_plugin_t *plugin, const char *api, bool is_floating);
  void(CLAP_ABI *destroy)(const clap_plugin_t *plugin);
  /* Absolute (2.0 = 200 %), overrides the OS; false = ignored. */
  bool(CLAP_ABI *set_scale)(const clap_plugin_t *plugin, double scale);
  /* Only after create. */
  bool(CLAP_ABI *get_size)(const clap_plugin_t *plugin, uint32_t *width, uint32_t *height);
  /* Embedded. */
  bool(CLAP_ABI *can_resize)(const clap_plugin_t *plugin);
  /* Embedded. */
  bool(CLAP_ABI *get_resize_hints)(const clap_plugin_t *plugin, clap_gui_resize_hints_t *hints);
  /* Embedded; rounds to the nearest usable size without resizing. */
  bool(CLAP_ABI *adjust_size)(const clap_plugin_t *plugin, uint32_t *width, uint32_t *height);
  /* Embedded. */
  bool(CLAP_ABI *set_size)(const clap_plugin_t *plugin, uint32_t width, uint32_t height);
  /* Embedded. */
  bool(CLAP_ABI *set_parent)(const clap_plugin_t *plugin, const clap_window_t *window);
  /* Floating; stay above that window. */
  bool(CLAP_ABI *set_transient)(const clap_plugin_t *plugin, const clap_window_t *window);
  /* Floating. */
  void(CLAP_ABI *suggest_title)(const clap_plugin_t *plugin, const char *title);
  bool(CLAP_ABI *show)(const clap_plugin_t *plugin);
  /* Keeps resources; a good time to stop repaint timers. */
  bool(CLAP_ABI *hide)(const clap_plugin_t *plugin);
} clap_plugin_gui_t;

typedef struct clap_host_gui {
  /* [any] Embedded. */
  void(CLAP_ABI *resize_hints_changed)(const clap_host_t *host);
  /* [any] Embedded. true = accepted (no set_size follows); off the main thread
   * true only acknowledges. */
  bool(CLAP_ABI *request_resize)(const clap_host_t *host, uint32_t width, uint32_t height);
  /* [any] */
  bool(CLAP_ABI *request_show)(const clap_host_t *host);
  /* [any] */
  bool(CLAP_ABI *request_hide)(const clap_host_t *host);
  /* [any] The floating window closed; if was_destroyed the host calls destroy. */
  void(CLAP_ABI *closed)(const clap_host_t *host, bool was_destroyed);
} clap_host_gui_t;

/* ---- timer-support and posix-fd-support: the editor's event loop on Linux - */

static const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

typedef struct clap_plugin_timer_support {
  /* [main] */
  void(CLAP_ABI *on_timer)(const clap_plugin_t *plugin, clap_id timer_id);
} clap_plugin_timer_support_t;

typedef struct clap_host_timer_support {
  /* [main] The host may stretch very short periods. */
  bool(CLAP_ABI *register_timer)(const clap_host_t *host, uint32_t period_ms, clap_id *timer_id);
  /* [main] */
  bool(CLAP_ABI *unregister_timer)(const clap_host_t *host, clap_id timer_id);
} clap_host_timer_support_t;

static const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";

enum {
  CLAP_POSIX_FD_READ = 1 << 0,
  CLAP_POSIX_FD_WRITE = 1 << 1,
  CLAP_POSIX_FD_ERROR = 1 << 2,
};
typedef uint32_t clap_posix_fd_flags_t;

typedef struct clap_plugin_posix_fd_support {
  /* [main] Level-triggered: a writable fd keeps firing until WRITE is removed. */
  void(CLAP_ABI *on_fd)(const clap_plugin_t *plugin, int fd, clap_posix_fd_flags_t flags);
} clap_plugin_posix_fd_support_t;

typedef struct clap_host_posix_fd_support {
  /* [main] */
  bool(CLAP_ABI *register_fd)(const clap_host_t *host, int fd, clap_posix_fd_flags_t flags);
  /* [main] */
  bool(CLAP_ABI *modify_fd)(const clap_host_t *host, int fd, clap_posix_fd_flags_t flags);
  /* [main] */
  bool(CLAP_ABI *unregister_fd)(const clap_host_t *host, int fd);
} clap_host_posix_fd_support_t;

/* ---- latency and tail ----------------------------------------------------- */

static const char CLAP_EXT_LATENCY[] = "clap.latency";

typedef struct clap_plugin_latency {
  /* [main, being-activated or active] Samples; frozen while active. */
  uint32_t(CLAP_ABI *get)(const clap_plugin_t *plugin);
} clap_plugin_latency_t;

typedef struct clap_host_latency {
  /* [main, being-activated only]; while active use request_restart instead. */
  void(CLAP_ABI *changed)(const clap_host_t *host);
} clap_host_latency_t;

static const char CLAP_EXT_TAIL[] = "clap.tail";

typedef struct clap_plugin_tail {
  /* [main or audio] Samples; >= INT32_MAX means infinite. */
  uint32_t(CLAP_ABI *get)(const clap_plugin_t *plugin);
} clap_plugin_tail_t;

typedef struct clap_host_tail {
  /* [audio] */
  void(CLAP_ABI *changed)(const clap_host_t *host);
} clap_host_tail_t;

/* ---- render --------------------------------------------------------------- */

static const char CLAP_EXT_RENDER[] = "clap.render";

typedef int32_t clap_plugin_render_mode;
enum {
  CLAP_RENDER_REALTIME = 0, /* default */
  CLAP_RENDER_OFFLINE = 1,
};

typedef struct clap_plugin_render {
  /* [main] */
  bool(CLAP_ABI *has_hard_realtime_requirement)(const clap_plugin_t *plugin);
  /* [main] */
  bool(CLAP_ABI *set)(const clap_plugin_t *plugin, clap_plugin_render_mode mode);
} clap_plugin_render_t;

/* ---- note-ports: an effect without note I/O offers none ------------------- */

static const char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";

enum clap_note_dialect {
  CLAP_NOTE_DIALECT_CLAP = 1 << 0,
  CLAP_NOTE_DIALECT_MIDI = 1 << 1,
  CLAP_NOTE_DIALECT_MIDI_MPE = 1 << 2,
  CLAP_NOTE_DIALECT_MIDI2 = 1 << 3,
};

typedef struct clap_note_port_info {
  clap_id id;
  uint32_t supported_dialects; /* CLAP_NOTE_DIALECT_* */
  uint32_t preferred_dialect;
  char name[CLAP_NAME_SIZE];
} clap_note_port_info_t;

typedef struct clap_plugin_note_ports {
  /* [main] */
  uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin, bool is_input);
  /* [main] */
  bool(CLAP_ABI *get)(const clap_plugin_t *plugin, uint32_t index, bool is_input, clap_note_port_info_t *info);
} clap_plugin_note_ports_t;

enum {
  CLAP_NOTE_PORTS_RESCAN_ALL = 1 << 0, /* only while deactivated */
  CLAP_NOTE_PORTS_RESCAN_NAMES = 1 << 1,
};

typedef struct clap_host_note_ports {
  /* [main] */
  uint32_t(CLAP_ABI *supported_dialects)(const clap_host_t *host);
  /* [main] */
  void(CLAP_ABI *rescan)(const clap_host_t *host, uint32_t flags);
} clap_host_note_ports_t;

/* ---- log and thread-check (host side only) -------------------------------- */

static const char CLAP_EXT_LOG[] = "clap.log";

typedef int32_t clap_log_severity;
enum {
  CLAP_LOG_DEBUG = 0,
  CLAP_LOG_INFO = 1,
  CLAP_LOG_WARNING = 2,
  CLAP_LOG_ERROR = 3,
  CLAP_LOG_FATAL = 4,
  CLAP_LOG_HOST_MISBEHAVING = 5,
  CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

typedef struct clap_host_log {
  /* [any], but not promised to be real-time safe. */
  void(CLAP_ABI *log)(const clap_host_t *host, clap_log_severity severity, const char *msg);
} clap_host_log_t;

static const char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";

typedef struct clap_host_thread_check {
  /* [any] */
  bool(CLAP_ABI *is_main_thread)(const clap_host_t *host);
  /* [any] */
  bool(CLAP_ABI *is_audio_thread)(const clap_host_t *host);
} clap_host_thread_check_t;

/* ---- Extensions hosts may ask for that an effect answers with NULL -------- */

static const char CLAP_EXT_AUDIO_PORTS_ACTIVATION[] = "clap.audio-ports-activation/2";
static const char CLAP_EXT_AUDIO_PORTS_ACTIVATION_COMPAT[] = "clap.audio-ports-activation/draft-2";
static const char CLAP_EXT_CONFIGURABLE_AUDIO_PORTS[] = "clap.configurable-audio-ports/1";
static const char CLAP_EXT_CONFIGURABLE_AUDIO_PORTS_COMPAT[] = "clap.configurable-audio-ports.draft1";
static const char CLAP_EXT_SURROUND[] = "clap.surround/4";
static const char CLAP_EXT_AMBISONIC[] = "clap.ambisonic/3";
static const char CLAP_EXT_VOICE_INFO[] = "clap.voice-info";
static const char CLAP_EXT_NOTE_NAME[] = "clap.note-name";
static const char CLAP_EXT_REMOTE_CONTROLS[] = "clap.remote-controls/2";
static const char CLAP_EXT_PARAM_INDICATION[] = "clap.param-indication/4";
static const char CLAP_EXT_CONTEXT_MENU[] = "clap.context-menu/1";
static const char CLAP_EXT_TRACK_INFO[] = "clap.track-info/1";
static const char CLAP_EXT_THREAD_POOL[] = "clap.thread-pool";
static const char CLAP_EXT_EVENT_REGISTRY[] = "clap.event-registry";

#ifdef __cplusplus
}
#endif

#endif /* BRINDLOW_CLAP_ABI_EXT_H */
