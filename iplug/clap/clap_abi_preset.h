/*
 * Built-in presets in host browsers: the preset-discovery factory (returned by
 * clap_entry.get_factory) with its provider, the host's indexer and metadata
 * receiver, and the preset-load extension that loads a listed preset into an
 * instance.
 *
 * Flow: entry init -> get_factory -> create(provider) -> provider init (declares
 * locations, file types, sound packs through the indexer) -> get_metadata per
 * location, all without a plug-in instance -> later, in an instance,
 * preset-load's from_location with the load_key the provider gave.
 *
 * Threads: factory calls are [any]. A provider, its indexer and its receivers
 * are used from one thread at a time (any thread, often a background indexer or
 * another process). Declare only inside provider init; call a receiver only
 * inside its get_metadata, on the calling thread. No windows or dialogs.
 * Included by clap_abi.h; include that instead.
 */
#ifndef BRINDLOW_CLAP_ABI_PRESET_H
#define BRINDLOW_CLAP_ABI_PRESET_H

#ifndef BRINDLOW_CLAP_ABI_H
#error "include clap_abi.h, not clap_abi_preset.h"
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- preset-load ---------------------------------------------------------- */

/* Answer both ids with the same table; ask the host for the stable one first. */
static const char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
static const char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";

enum clap_preset_discovery_location_kind {
  CLAP_PRESET_DISCOVERY_LOCATION_FILE = 0,   /* location = path of a file or folder */
  CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN = 1, /* built into the library; location NULL */
};

typedef struct clap_plugin_preset_load {
  /* [main] In any state, also while processing. On success: apply, tell the
   * host as for an own preset switch, call host loaded(), return true. On
   * failure: call host on_error() and return false. */
  bool(CLAP_ABI *from_location)(const clap_plugin_t *plugin, uint32_t location_kind, const char *location,
                                const char *load_key);
} clap_plugin_preset_load_t;

typedef struct clap_host_preset_load {
  /* [main] After a failed load; os_error 0 when no OS error applies. */
  void(CLAP_ABI *on_error)(const clap_host_t *host, uint32_t location_kind, const char *location,
                           const char *load_key, int32_t os_error, const char *msg);
  /* [main] This preset is now loaded (also when chosen in the plug-in's editor). */
  void(CLAP_ABI *loaded)(const clap_host_t *host, uint32_t location_kind, const char *location,
                         const char *load_key);
} clap_host_preset_load_t;

/* ---- Discovery records ---------------------------------------------------- */

static const char CLAP_PRESET_DISCOVERY_FACTORY_ID[] = "clap.preset-discovery-factory/2";
static const char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] = "clap.preset-discovery-factory/draft-2";

enum clap_preset_discovery_flags {
  CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT = 1 << 0, /* factory or sound-pack presets */
  CLAP_PRESET_DISCOVERY_IS_USER_CONTENT = 1 << 1,
  CLAP_PRESET_DISCOVERY_IS_DEMO_CONTENT = 1 << 2, /* limited until bought */
  CLAP_PRESET_DISCOVERY_IS_FAVORITE = 1 << 3,
};

/* Seconds since the Unix epoch. */
typedef uint64_t clap_timestamp;
#define CLAP_TIMESTAMP_UNKNOWN ((clap_timestamp)0)

/* A plug-in a preset is for: abi "clap" with the descriptor id (also "vst3",
 * "vst2" with the unique ID as a signed decimal, "au"). */
typedef struct clap_universal_plugin_id {
  const char *abi;
  const char *id;
} clap_universal_plugin_id_t;

typedef struct clap_preset_discovery_location {
  uint32_t flags;       /* CLAP_PRESET_DISCOVERY_IS_* */
  const char *name;     /* shown to users */
  uint32_t kind;        /* CLAP_PRESET_DISCOVERY_LOCATION_* */
  const char *location; /* path for FILE, NULL for PLUGIN */
} clap_preset_discovery_location_t;

/* Steers FILE crawls only. */
typedef struct clap_preset_discovery_filetype {
  const char *name;
  const char *description;    /* optional */
  const char *file_extension; /* no dot; NULL or "" matches every file */
} clap_preset_discovery_filetype_t;

typedef struct clap_preset_discovery_soundpack {
  uint32_t flags;
  const char *id; /* what set_soundpack_id names */
  const char *name;
  const char *description;  /* optional */
  const char *homepage_url; /* optional */
  const char *vendor;       /* optional */
  const char *image_path;   /* optional */
  clap_timestamp release_timestamp;
} clap_preset_discovery_soundpack_t;

/* Supplied by the host for one get_metadata() call. */
typedef struct clap_preset_discovery_metadata_receiver {
  void *receiver_data; /* the host's */
  /* Reading failed; os_error 0 when no OS error applies. */
  void(CLAP_ABI *on_error)(const struct clap_preset_discovery_metadata_receiver *receiver, int32_t os_error,
                           const char *error_message);
  /* Opens each preset, before its other calls; false = stop calling this receiver. */
  bool(CLAP_ABI *begin_preset)(const struct clap_preset_discovery_metadata_receiver *receiver, const char *name,
                               const char *load_key);
  /* A plug-in this preset is for; every preset needs one; may repeat. */
  void(CLAP_ABI *add_plugin_id)(const struct clap_preset_discovery_metadata_receiver *receiver,
                                const clap_universal_plugin_id_t *plugin_id);
  void(CLAP_ABI *set_soundpack_id)(const struct clap_preset_discovery_metadata_receiver *receiver,
                                   const char *soundpack_id);
  /* Without it the location's flags apply. */
  void(CLAP_ABI *set_flags)(const struct clap_preset_discovery_metadata_receiver *receiver, uint32_t flags);
  /* May repeat. */
  void(CLAP_ABI *add_creator)(const struct clap_preset_discovery_metadata_receiver *receiver,
                              const char *creator);
  void(CLAP_ABI *set_description)(const struct clap_preset_discovery_metadata_receiver *receiver,
                                  const char *description);
  /* CLAP_TIMESTAMP_UNKNOWN for one not known. */
  void(CLAP_ABI *set_timestamps)(const struct clap_preset_discovery_metadata_receiver *receiver,
                                 clap_timestamp creation_time, clap_timestamp modification_time);
  /* Free tags; the CLAP_PLUGIN_FEATURE_* strings are understood. */
  void(CLAP_ABI *add_feature)(const struct clap_preset_discovery_metadata_receiver *receiver,
                              const char *feature);
  void(CLAP_ABI *add_extra_info)(const struct clap_preset_discovery_metadata_receiver *receiver,
                                 const char *key, const char *value);
} clap_preset_discovery_metadata_receiver_t;

/* ---- Provider and the host's indexer -------------------------------------- */

typedef struct clap_preset_discovery_provider_descriptor {
  clap_version_t clap_version; /* CLAP_VERSION_INIT */
  const char *id;              /* mandatory, reverse-domain */
  const char *name;            /* mandatory */
  const char *vendor;          /* optional */
} clap_preset_discovery_provider_descriptor_t;

/* Supplied by the host, read-only for the plug-in. Each declare call returns
 * false for an invalid entry and is made only inside provider init. */
typedef struct clap_preset_discovery_indexer {
  clap_version_t clap_version;
  const char *name;
  const char *vendor;  /* optional */
  const char *url;     /* optional */
  const char *version; /* optional */
  void *indexer_data;  /* the host's */
  bool(CLAP_ABI *declare_filetype)(const struct clap_preset_discovery_indexer *indexer,
                                   const clap_preset_discovery_filetype_t *filetype);
  bool(CLAP_ABI *declare_location)(const struct clap_preset_discovery_indexer *indexer,
                                   const clap_preset_discovery_location_t *location);
  /* Optional for the host. */
  bool(CLAP_ABI *declare_soundpack)(const struct clap_preset_discovery_indexer *indexer,
                                    const clap_preset_discovery_soundpack_t *soundpack);
  /* From provider init on. */
  const void *(CLAP_ABI *get_extension)(const struct clap_preset_discovery_indexer *indexer,
                                        const char *extension_id);
} clap_preset_discovery_indexer_t;

/* Supplied by the plug-in; the host frees it with destroy(). */
typedef struct clap_preset_discovery_provider {
  const clap_preset_discovery_provider_descriptor_t *desc; /* the factory's descriptor */
  void *provider_data;                                     /* the plug-in's own */
  /* Declares every location, file type and sound pack; false = failed. */
  bool(CLAP_ABI *init)(const struct clap_preset_discovery_provider *provider);
  void(CLAP_ABI *destroy)(const struct clap_preset_discovery_provider *provider);
  /* Feeds the presets of one location (or file) to the receiver; true = success. */
  bool(CLAP_ABI *get_metadata)(const struct clap_preset_discovery_provider *provider, uint32_t location_kind,
                               const char *location,
                               const clap_preset_discovery_metadata_receiver_t *metadata_receiver);
  /* Never before init; NULL for unknown ids. */
  const void *(CLAP_ABI *get_extension)(const struct clap_preset_discovery_provider *provider,
                                        const char *extension_id);
} clap_preset_discovery_provider_t;

/* Every call [any]; answer both factory ids with the same object. */
typedef struct clap_preset_discovery_factory {
  uint32_t(CLAP_ABI *count)(const struct clap_preset_discovery_factory *factory);
  /* NULL for a bad index; the host never frees it. */
  const clap_preset_discovery_provider_descriptor_t *(CLAP_ABI *get_descriptor)(
      const struct clap_preset_discovery_factory *factory, uint32_t index);
  /* NULL on error; makes no indexer calls. */
  const clap_preset_discovery_provider_t *(CLAP_ABI *create)(const struct clap_preset_discovery_factory *factory,
                                                             const clap_preset_discovery_indexer_t *indexer,
                                                             const char *provider_id);
} clap_preset_discovery_factory_t;

#ifdef __cplusplus
}
#endif

#endif /* BRINDLOW_CLAP_ABI_PRESET_H */
