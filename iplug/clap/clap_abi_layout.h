/*
 * Compile-time pins of every CLAP size, alignment and offset, so that a build
 * whose layout differs from what hosts expect does not compile. Each pin gives
 * the x86-64 number (Linux and Windows agree) and the 32-bit Windows number side
 * by side: CLAP_ABI_AT(type, field, x64, w32). On 32-bit Windows 8-byte scalars
 * are still 8-aligned inside structs, which is where the two differ besides
 * pointer size. A function table's slot k sits at k pointers; CLAP_ABI_SLOT pins
 * that a member is in the slot hosts call. Other targets check only the
 * pointer-free records. Included at the end of clap_abi.h.
 */
#ifndef BRINDLOW_CLAP_ABI_LAYOUT_H
#define BRINDLOW_CLAP_ABI_LAYOUT_H

#ifndef BRINDLOW_CLAP_ABI_H
#error "include clap_abi.h, not clap_abi_layout.h"
#endif

#ifdef __cplusplus
#define CLAP_ABI_ASSERT(cond, msg) static_assert(cond, msg)
#define CLAP_ABI_ALIGNOF(type) alignof(type)
#else
#define CLAP_ABI_ASSERT(cond, msg) _Static_assert(cond, msg)
#define CLAP_ABI_ALIGNOF(type) _Alignof(type)
#endif

/* ---- Records without pointers: the same on every target ------------------- */

CLAP_ABI_ASSERT(sizeof(bool) == 1, "bool is one byte");
CLAP_ABI_ASSERT(sizeof(clap_id) == 4 && sizeof(clap_beattime) == 8 && sizeof(clap_timestamp) == 8,
                "fixed-width scalars");

CLAP_ABI_ASSERT(sizeof(clap_version_t) == 12 && CLAP_ABI_ALIGNOF(clap_version_t) == 4, "clap_version_t layout");

CLAP_ABI_ASSERT(sizeof(clap_event_header_t) == 16 && CLAP_ABI_ALIGNOF(clap_event_header_t) == 4,
                "clap_event_header_t size");
CLAP_ABI_ASSERT(offsetof(clap_event_header_t, size) == 0 && offsetof(clap_event_header_t, time) == 4 &&
                    offsetof(clap_event_header_t, space_id) == 8 && offsetof(clap_event_header_t, type) == 10 &&
                    offsetof(clap_event_header_t, flags) == 12,
                "clap_event_header_t offsets");

CLAP_ABI_ASSERT(sizeof(clap_event_param_gesture_t) == 20 && offsetof(clap_event_param_gesture_t, param_id) == 16,
                "clap_event_param_gesture_t layout");
CLAP_ABI_ASSERT(sizeof(clap_event_midi_t) == 24 && offsetof(clap_event_midi_t, port_index) == 16 &&
                    offsetof(clap_event_midi_t, data) == 18,
                "clap_event_midi_t layout");
CLAP_ABI_ASSERT(sizeof(clap_event_midi2_t) == 36 && offsetof(clap_event_midi2_t, port_index) == 16 &&
                    offsetof(clap_event_midi2_t, data) == 20,
                "clap_event_midi2_t layout");

CLAP_ABI_ASSERT(sizeof(clap_note_port_info_t) == 268 && CLAP_ABI_ALIGNOF(clap_note_port_info_t) == 4,
                "clap_note_port_info_t size");
CLAP_ABI_ASSERT(offsetof(clap_note_port_info_t, supported_dialects) == 4 &&
                    offsetof(clap_note_port_info_t, preferred_dialect) == 8 &&
                    offsetof(clap_note_port_info_t, name) == 12,
                "clap_note_port_info_t offsets");

CLAP_ABI_ASSERT(sizeof(clap_gui_resize_hints_t) == 12 && CLAP_ABI_ALIGNOF(clap_gui_resize_hints_t) == 4,
                "clap_gui_resize_hints_t size");
CLAP_ABI_ASSERT(offsetof(clap_gui_resize_hints_t, can_resize_vertically) == 1 &&
                    offsetof(clap_gui_resize_hints_t, preserve_aspect_ratio) == 2 &&
                    offsetof(clap_gui_resize_hints_t, aspect_ratio_width) == 4 &&
                    offsetof(clap_gui_resize_hints_t, aspect_ratio_height) == 8,
                "clap_gui_resize_hints_t offsets");

/* ---- Records with pointers or 8-byte scalars ------------------------------ */

#if defined(__x86_64__) || defined(_M_X64)
#define CLAP_ABI_PICK(x64, w32) (x64)
CLAP_ABI_ASSERT(sizeof(void *) == 8, "x86-64 has 8-byte pointers");
#elif defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define CLAP_ABI_PICK(x64, w32) (w32)
CLAP_ABI_ASSERT(sizeof(void *) == 4, "32-bit Windows has 4-byte pointers");
#endif

#ifdef CLAP_ABI_PICK

#define CLAP_ABI_SIZE(type, x64, w32) \
  CLAP_ABI_ASSERT(sizeof(type) == CLAP_ABI_PICK(x64, w32), "size of " #type)
#define CLAP_ABI_ALIGN(type, x64, w32) \
  CLAP_ABI_ASSERT(CLAP_ABI_ALIGNOF(type) == CLAP_ABI_PICK(x64, w32), "alignment of " #type)
#define CLAP_ABI_AT(type, field, x64, w32) \
  CLAP_ABI_ASSERT(offsetof(type, field) == CLAP_ABI_PICK(x64, w32), "offset of " #type "." #field)
#define CLAP_ABI_SLOT(type, field, k) CLAP_ABI_AT(type, field, (k) * 8, (k) * 4)
/* A record of n pointer-sized members: n pointers long, pointer-aligned. */
#define CLAP_ABI_TABLE(type, n) \
  CLAP_ABI_SIZE(type, (n) * 8, (n) * 4); \
  CLAP_ABI_ALIGN(type, 8, 4)

/* Entry, factory, descriptor */
CLAP_ABI_SIZE(clap_plugin_entry_t, 40, 24);
CLAP_ABI_AT(clap_plugin_entry_t, clap_version, 0, 0);
CLAP_ABI_AT(clap_plugin_entry_t, init, 16, 12);
CLAP_ABI_AT(clap_plugin_entry_t, deinit, 24, 16);
CLAP_ABI_AT(clap_plugin_entry_t, get_factory, 32, 20);

CLAP_ABI_TABLE(clap_plugin_factory_t, 3);
CLAP_ABI_SLOT(clap_plugin_factory_t, get_plugin_count, 0);
CLAP_ABI_SLOT(clap_plugin_factory_t, get_plugin_descriptor, 1);
CLAP_ABI_SLOT(clap_plugin_factory_t, create_plugin, 2);

CLAP_ABI_SIZE(clap_plugin_descriptor_t, 88, 48);
CLAP_ABI_AT(clap_plugin_descriptor_t, clap_version, 0, 0);
CLAP_ABI_AT(clap_plugin_descriptor_t, id, 16, 12);
CLAP_ABI_AT(clap_plugin_descriptor_t, name, 24, 16);
CLAP_ABI_AT(clap_plugin_descriptor_t, vendor, 32, 20);
CLAP_ABI_AT(clap_plugin_descriptor_t, url, 40, 24);
CLAP_ABI_AT(clap_plugin_descriptor_t, manual_url, 48, 28);
CLAP_ABI_AT(clap_plugin_descriptor_t, support_url, 56, 32);
CLAP_ABI_AT(clap_plugin_descriptor_t, version, 64, 36);
CLAP_ABI_AT(clap_plugin_descriptor_t, description, 72, 40);
CLAP_ABI_AT(clap_plugin_descriptor_t, features, 80, 44);

/* Host and plug-in */
CLAP_ABI_SIZE(clap_host_t, 88, 48);
CLAP_ABI_AT(clap_host_t, clap_version, 0, 0);
CLAP_ABI_AT(clap_host_t, host_data, 16, 12);
CLAP_ABI_AT(clap_host_t, name, 24, 16);
CLAP_ABI_AT(clap_host_t, vendor, 32, 20);
CLAP_ABI_AT(clap_host_t, url, 40, 24);
CLAP_ABI_AT(clap_host_t, version, 48, 28);
CLAP_ABI_AT(clap_host_t, get_extension, 56, 32);
CLAP_ABI_AT(clap_host_t, request_restart, 64, 36);
CLAP_ABI_AT(clap_host_t, request_process, 72, 40);
CLAP_ABI_AT(clap_host_t, request_callback, 80, 44);

CLAP_ABI_TABLE(clap_plugin_t, 12);
CLAP_ABI_SLOT(clap_plugin_t, desc, 0);
CLAP_ABI_SLOT(clap_plugin_t, plugin_data, 1);
CLAP_ABI_SLOT(clap_plugin_t, init, 2);
CLAP_ABI_SLOT(clap_plugin_t, destroy, 3);
CLAP_ABI_SLOT(clap_plugin_t, activate, 4);
CLAP_ABI_SLOT(clap_plugin_t, deactivate, 5);
CLAP_ABI_SLOT(clap_plugin_t, start_processing, 6);
CLAP_ABI_SLOT(clap_plugin_t, stop_processing, 7);
CLAP_ABI_SLOT(clap_plugin_t, reset, 8);
CLAP_ABI_SLOT(clap_plugin_t, process, 9);
CLAP_ABI_SLOT(clap_plugin_t, get_extension, 10);
CLAP_ABI_SLOT(clap_plugin_t, on_main_thread, 11);

/* Processing */
CLAP_ABI_SIZE(clap_process_t, 64, 40);
CLAP_ABI_ALIGN(clap_process_t, 8, 8);
CLAP_ABI_AT(clap_process_t, steady_time, 0, 0);
CLAP_ABI_AT(clap_process_t, frames_count, 8, 8);
CLAP_ABI_AT(clap_process_t, transport, 16, 12);
CLAP_ABI_AT(clap_process_t, audio_inputs, 24, 16);
CLAP_ABI_AT(clap_process_t, audio_outputs, 32, 20);
CLAP_ABI_AT(clap_process_t, audio_inputs_count, 40, 24);
CLAP_ABI_AT(clap_process_t, audio_outputs_count, 44, 28);
CLAP_ABI_AT(clap_process_t, in_events, 48, 32);
CLAP_ABI_AT(clap_process_t, out_events, 56, 36);

CLAP_ABI_SIZE(clap_audio_buffer_t, 32, 24);
CLAP_ABI_ALIGN(clap_audio_buffer_t, 8, 8);
CLAP_ABI_AT(clap_audio_buffer_t, data32, 0, 0);
CLAP_ABI_AT(clap_audio_buffer_t, data64, 8, 4);
CLAP_ABI_AT(clap_audio_buffer_t, channel_count, 16, 8);
CLAP_ABI_AT(clap_audio_buffer_t, latency, 20, 12);
CLAP_ABI_AT(clap_audio_buffer_t, constant_mask, 24, 16);

CLAP_ABI_TABLE(clap_input_events_t, 3);
CLAP_ABI_SLOT(clap_input_events_t, ctx, 0);
CLAP_ABI_SLOT(clap_input_events_t, size, 1);
CLAP_ABI_SLOT(clap_input_events_t, get, 2);
CLAP_ABI_TABLE(clap_output_events_t, 2);
CLAP_ABI_SLOT(clap_output_events_t, ctx, 0);
CLAP_ABI_SLOT(clap_output_events_t, try_push, 1);

/* Events */
CLAP_ABI_SIZE(clap_event_param_value_t, 56, 48);
CLAP_ABI_ALIGN(clap_event_param_value_t, 8, 8);
CLAP_ABI_AT(clap_event_param_value_t, header, 0, 0);
CLAP_ABI_AT(clap_event_param_value_t, param_id, 16, 16);
CLAP_ABI_AT(clap_event_param_value_t, cookie, 24, 20);
CLAP_ABI_AT(clap_event_param_value_t, note_id, 32, 24);
CLAP_ABI_AT(clap_event_param_value_t, port_index, 36, 28);
CLAP_ABI_AT(clap_event_param_value_t, channel, 38, 30);
CLAP_ABI_AT(clap_event_param_value_t, key, 40, 32);
CLAP_ABI_AT(clap_event_param_value_t, value, 48, 40);

CLAP_ABI_SIZE(clap_event_param_mod_t, 56, 48);
CLAP_ABI_ALIGN(clap_event_param_mod_t, 8, 8);
CLAP_ABI_AT(clap_event_param_mod_t, param_id, 16, 16);
CLAP_ABI_AT(clap_event_param_mod_t, cookie, 24, 20);
CLAP_ABI_AT(clap_event_param_mod_t, note_id, 32, 24);
CLAP_ABI_AT(clap_event_param_mod_t, port_index, 36, 28);
CLAP_ABI_AT(clap_event_param_mod_t, channel, 38, 30);
CLAP_ABI_AT(clap_event_param_mod_t, key, 40, 32);
CLAP_ABI_AT(clap_event_param_mod_t, amount, 48, 40);

CLAP_ABI_SIZE(clap_event_note_t, 40, 40);
CLAP_ABI_AT(clap_event_note_t, note_id, 16, 16);
CLAP_ABI_AT(clap_event_note_t, port_index, 20, 20);
CLAP_ABI_AT(clap_event_note_t, channel, 22, 22);
CLAP_ABI_AT(clap_event_note_t, key, 24, 24);
CLAP_ABI_AT(clap_event_note_t, velocity, 32, 32);

CLAP_ABI_SIZE(clap_event_note_expression_t, 40, 40);
CLAP_ABI_AT(clap_event_note_expression_t, expression_id, 16, 16);
CLAP_ABI_AT(clap_event_note_expression_t, note_id, 20, 20);
CLAP_ABI_AT(clap_event_note_expression_t, port_index, 24, 24);
CLAP_ABI_AT(clap_event_note_expression_t, channel, 26, 26);
CLAP_ABI_AT(clap_event_note_expression_t, key, 28, 28);
CLAP_ABI_AT(clap_event_note_expression_t, value, 32, 32);

CLAP_ABI_SIZE(clap_event_transport_t, 104, 104);
CLAP_ABI_AT(clap_event_transport_t, flags, 16, 16);
CLAP_ABI_AT(clap_event_transport_t, song_pos_beats, 24, 24);
CLAP_ABI_AT(clap_event_transport_t, song_pos_seconds, 32, 32);
CLAP_ABI_AT(clap_event_transport_t, tempo, 40, 40);
CLAP_ABI_AT(clap_event_transport_t, tempo_inc, 48, 48);
CLAP_ABI_AT(clap_event_transport_t, loop_start_beats, 56, 56);
CLAP_ABI_AT(clap_event_transport_t, loop_end_beats, 64, 64);
CLAP_ABI_AT(clap_event_transport_t, loop_start_seconds, 72, 72);
CLAP_ABI_AT(clap_event_transport_t, loop_end_seconds, 80, 80);
CLAP_ABI_AT(clap_event_transport_t, bar_start, 88, 88);
CLAP_ABI_AT(clap_event_transport_t, bar_number, 96, 96);
CLAP_ABI_AT(clap_event_transport_t, tsig_num, 100, 100);
CLAP_ABI_AT(clap_event_transport_t, tsig_denom, 102, 102);

CLAP_ABI_SIZE(clap_event_midi_sysex_t, 40, 28);
CLAP_ABI_AT(clap_event_midi_sysex_t, port_index, 16, 16);
CLAP_ABI_AT(clap_event_midi_sysex_t, buffer, 24, 20);
CLAP_ABI_AT(clap_event_midi_sysex_t, size, 32, 24);

/* Streams */
CLAP_ABI_TABLE(clap_istream_t, 2);
CLAP_ABI_SLOT(clap_istream_t, ctx, 0);
CLAP_ABI_SLOT(clap_istream_t, read, 1);
CLAP_ABI_TABLE(clap_ostream_t, 2);
CLAP_ABI_SLOT(clap_ostream_t, ctx, 0);
CLAP_ABI_SLOT(clap_ostream_t, write, 1);

/* audio-ports and audio-ports-config */
CLAP_ABI_SIZE(clap_audio_port_info_t, 288, 276);
CLAP_ABI_AT(clap_audio_port_info_t, id, 0, 0);
CLAP_ABI_AT(clap_audio_port_info_t, name, 4, 4);
CLAP_ABI_AT(clap_audio_port_info_t, flags, 260, 260);
CLAP_ABI_AT(clap_audio_port_info_t, channel_count, 264, 264);
CLAP_ABI_AT(clap_audio_port_info_t, port_type, 272, 268);
CLAP_ABI_AT(clap_audio_port_info_t, in_place_pair, 280, 272);
CLAP_ABI_TABLE(clap_plugin_audio_ports_t, 2);
CLAP_ABI_SLOT(clap_plugin_audio_ports_t, count, 0);
CLAP_ABI_SLOT(clap_plugin_audio_ports_t, get, 1);
CLAP_ABI_TABLE(clap_host_audio_ports_t, 2);
CLAP_ABI_SLOT(clap_host_audio_ports_t, is_rescan_flag_supported, 0);
CLAP_ABI_SLOT(clap_host_audio_ports_t, rescan, 1);

CLAP_ABI_SIZE(clap_audio_ports_config_t, 304, 292);
CLAP_ABI_AT(clap_audio_ports_config_t, id, 0, 0);
CLAP_ABI_AT(clap_audio_ports_config_t, name, 4, 4);
CLAP_ABI_AT(clap_audio_ports_config_t, input_port_count, 260, 260);
CLAP_ABI_AT(clap_audio_ports_config_t, output_port_count, 264, 264);
CLAP_ABI_AT(clap_audio_ports_config_t, has_main_input, 268, 268);
CLAP_ABI_AT(clap_audio_ports_config_t, main_input_channel_count, 272, 272);
CLAP_ABI_AT(clap_audio_ports_config_t, main_input_port_type, 280, 276);
CLAP_ABI_AT(clap_audio_ports_config_t, has_main_output, 288, 280);
CLAP_ABI_AT(clap_audio_ports_config_t, main_output_channel_count, 292, 284);
CLAP_ABI_AT(clap_audio_ports_config_t, main_output_port_type, 296, 288);
CLAP_ABI_TABLE(clap_plugin_audio_ports_config_t, 3);
CLAP_ABI_SLOT(clap_plugin_audio_ports_config_t, count, 0);
CLAP_ABI_SLOT(clap_plugin_audio_ports_config_t, get, 1);
CLAP_ABI_SLOT(clap_plugin_audio_ports_config_t, select, 2);
CLAP_ABI_TABLE(clap_plugin_audio_ports_config_info_t, 2);
CLAP_ABI_SLOT(clap_plugin_audio_ports_config_info_t, current_config, 0);
CLAP_ABI_SLOT(clap_plugin_audio_ports_config_info_t, get, 1);
CLAP_ABI_TABLE(clap_host_audio_ports_config_t, 1);

/* params */
CLAP_ABI_SIZE(clap_param_info_t, 1320, 1320);
CLAP_ABI_ALIGN(clap_param_info_t, 8, 8);
CLAP_ABI_AT(clap_param_info_t, id, 0, 0);
CLAP_ABI_AT(clap_param_info_t, flags, 4, 4);
CLAP_ABI_AT(clap_param_info_t, cookie, 8, 8);
CLAP_ABI_AT(clap_param_info_t, name, 16, 12);
CLAP_ABI_AT(clap_param_info_t, module, 272, 268);
CLAP_ABI_AT(clap_param_info_t, min_value, 1296, 1296);
CLAP_ABI_AT(clap_param_info_t, max_value, 1304, 1304);
CLAP_ABI_AT(clap_param_info_t, default_value, 1312, 1312);
CLAP_ABI_TABLE(clap_plugin_params_t, 6);
CLAP_ABI_SLOT(clap_plugin_params_t, count, 0);
CLAP_ABI_SLOT(clap_plugin_params_t, get_info, 1);
CLAP_ABI_SLOT(clap_plugin_params_t, get_value, 2);
CLAP_ABI_SLOT(clap_plugin_params_t, value_to_text, 3);
CLAP_ABI_SLOT(clap_plugin_params_t, text_to_value, 4);
CLAP_ABI_SLOT(clap_plugin_params_t, flush, 5);
CLAP_ABI_TABLE(clap_host_params_t, 3);
CLAP_ABI_SLOT(clap_host_params_t, rescan, 0);
CLAP_ABI_SLOT(clap_host_params_t, clear, 1);
CLAP_ABI_SLOT(clap_host_params_t, request_flush, 2);

/* state */
CLAP_ABI_TABLE(clap_plugin_state_t, 2);
CLAP_ABI_SLOT(clap_plugin_state_t, save, 0);
CLAP_ABI_SLOT(clap_plugin_state_t, load, 1);
CLAP_ABI_TABLE(clap_host_state_t, 1);
CLAP_ABI_TABLE(clap_plugin_state_context_t, 2);
CLAP_ABI_SLOT(clap_plugin_state_context_t, save, 0);
CLAP_ABI_SLOT(clap_plugin_state_context_t, load, 1);

/* gui */
CLAP_ABI_SIZE(clap_window_t, 16, 8);
CLAP_ABI_AT(clap_window_t, api, 0, 0);
CLAP_ABI_AT(clap_window_t, x11, 8, 4);
CLAP_ABI_AT(clap_window_t, win32, 8, 4);
CLAP_ABI_AT(clap_window_t, ptr, 8, 4);
CLAP_ABI_TABLE(clap_plugin_gui_t, 15);
CLAP_ABI_SLOT(clap_plugin_gui_t, is_api_supported, 0);
CLAP_ABI_SLOT(clap_plugin_gui_t, get_preferred_api, 1);
CLAP_ABI_SLOT(clap_plugin_gui_t, create, 2);
CLAP_ABI_SLOT(clap_plugin_gui_t, destroy, 3);
CLAP_ABI_SLOT(clap_plugin_gui_t, set_scale, 4);
CLAP_ABI_SLOT(clap_plugin_gui_t, get_size, 5);
CLAP_ABI_SLOT(clap_plugin_gui_t, can_resize, 6);
CLAP_ABI_SLOT(clap_plugin_gui_t, get_resize_hints, 7);
CLAP_ABI_SLOT(clap_plugin_gui_t, adjust_size, 8);
CLAP_ABI_SLOT(clap_plugin_gui_t, set_size, 9);
CLAP_ABI_SLOT(clap_plugin_gui_t, set_parent, 10);
CLAP_ABI_SLOT(clap_plugin_gui_t, set_transient, 11);
CLAP_ABI_SLOT(clap_plugin_gui_t, suggest_title, 12);
CLAP_ABI_SLOT(clap_plugin_gui_t, show, 13);
CLAP_ABI_SLOT(clap_plugin_gui_t, hide, 14);
CLAP_ABI_TABLE(clap_host_gui_t, 5);
CLAP_ABI_SLOT(clap_host_gui_t, resize_hints_changed, 0);
CLAP_ABI_SLOT(clap_host_gui_t, request_resize, 1);
CLAP_ABI_SLOT(clap_host_gui_t, request_show, 2);
CLAP_ABI_SLOT(clap_host_gui_t, request_hide, 3);
CLAP_ABI_SLOT(clap_host_gui_t, closed, 4);

/* timer-support, posix-fd-support, latency, tail, render */
CLAP_ABI_TABLE(clap_plugin_timer_support_t, 1);
CLAP_ABI_TABLE(clap_host_timer_support_t, 2);
CLAP_ABI_SLOT(clap_host_timer_support_t, register_timer, 0);
CLAP_ABI_SLOT(clap_host_timer_support_t, unregister_timer, 1);
CLAP_ABI_TABLE(clap_plugin_posix_fd_support_t, 1);
CLAP_ABI_TABLE(clap_host_posix_fd_support_t, 3);
CLAP_ABI_SLOT(clap_host_posix_fd_support_t, register_fd, 0);
CLAP_ABI_SLOT(clap_host_posix_fd_support_t, modify_fd, 1);
CLAP_ABI_SLOT(clap_host_posix_fd_support_t, unregister_fd, 2);
CLAP_ABI_TABLE(clap_plugin_latency_t, 1);
CLAP_ABI_TABLE(clap_host_latency_t, 1);
CLAP_ABI_TABLE(clap_plugin_tail_t, 1);
CLAP_ABI_TABLE(clap_host_tail_t, 1);
CLAP_ABI_TABLE(clap_plugin_render_t, 2);
CLAP_ABI_SLOT(clap_plugin_render_t, has_hard_realtime_requirement, 0);
CLAP_ABI_SLOT(clap_plugin_render_t, set, 1);

/* note-ports, log, thread-check */
CLAP_ABI_TABLE(clap_plugin_note_ports_t, 2);
CLAP_ABI_SLOT(clap_plugin_note_ports_t, count, 0);
CLAP_ABI_SLOT(clap_plugin_note_ports_t, get, 1);
CLAP_ABI_TABLE(clap_host_note_ports_t, 2);
CLAP_ABI_SLOT(clap_host_note_ports_t, supported_dialects, 0);
CLAP_ABI_SLOT(clap_host_note_ports_t, rescan, 1);
CLAP_ABI_TABLE(clap_host_log_t, 1);
CLAP_ABI_TABLE(clap_host_thread_check_t, 2);
CLAP_ABI_SLOT(clap_host_thread_check_t, is_main_thread, 0);
CLAP_ABI_SLOT(clap_host_thread_check_t, is_audio_thread, 1);

/* preset-load and the preset-discovery factory */
CLAP_ABI_TABLE(clap_plugin_preset_load_t, 1);
CLAP_ABI_TABLE(clap_host_preset_load_t, 2);
CLAP_ABI_SLOT(clap_host_preset_load_t, on_error, 0);
CLAP_ABI_SLOT(clap_host_preset_load_t, loaded, 1);

CLAP_ABI_TABLE(clap_preset_discovery_factory_t, 3);
CLAP_ABI_SLOT(clap_preset_discovery_factory_t, count, 0);
CLAP_ABI_SLOT(clap_preset_discovery_factory_t, get_descriptor, 1);
CLAP_ABI_SLOT(clap_preset_discovery_factory_t, create, 2);

CLAP_ABI_SIZE(clap_preset_discovery_provider_descriptor_t, 40, 24);
CLAP_ABI_AT(clap_preset_discovery_provider_descriptor_t, clap_version, 0, 0);
CLAP_ABI_AT(clap_preset_discovery_provider_descriptor_t, id, 16, 12);
CLAP_ABI_AT(clap_preset_discovery_provider_descriptor_t, name, 24, 16);
CLAP_ABI_AT(clap_preset_discovery_provider_descriptor_t, vendor, 32, 20);

CLAP_ABI_TABLE(clap_preset_discovery_provider_t, 6);
CLAP_ABI_SLOT(clap_preset_discovery_provider_t, desc, 0);
CLAP_ABI_SLOT(clap_preset_discovery_provider_t, provider_data, 1);
CLAP_ABI_SLOT(clap_preset_discovery_provider_t, init, 2);
CLAP_ABI_SLOT(clap_preset_discovery_provider_t, destroy, 3);
CLAP_ABI_SLOT(clap_preset_discovery_provider_t, get_metadata, 4);
CLAP_ABI_SLOT(clap_preset_discovery_provider_t, get_extension, 5);

CLAP_ABI_SIZE(clap_preset_discovery_indexer_t, 88, 48);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, clap_version, 0, 0);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, name, 16, 12);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, vendor, 24, 16);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, url, 32, 20);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, version, 40, 24);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, indexer_data, 48, 28);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, declare_filetype, 56, 32);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, declare_location, 64, 36);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, declare_soundpack, 72, 40);
CLAP_ABI_AT(clap_preset_discovery_indexer_t, get_extension, 80, 44);

CLAP_ABI_SIZE(clap_preset_discovery_location_t, 32, 16);
CLAP_ABI_AT(clap_preset_discovery_location_t, flags, 0, 0);
CLAP_ABI_AT(clap_preset_discovery_location_t, name, 8, 4);
CLAP_ABI_AT(clap_preset_discovery_location_t, kind, 16, 8);
CLAP_ABI_AT(clap_preset_discovery_location_t, location, 24, 12);

CLAP_ABI_TABLE(clap_preset_discovery_filetype_t, 3);
CLAP_ABI_SLOT(clap_preset_discovery_filetype_t, name, 0);
CLAP_ABI_SLOT(clap_preset_discovery_filetype_t, description, 1);
CLAP_ABI_SLOT(clap_preset_discovery_filetype_t, file_extension, 2);

CLAP_ABI_SIZE(clap_preset_discovery_soundpack_t, 64, 40);
CLAP_ABI_ALIGN(clap_preset_discovery_soundpack_t, 8, 8);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, flags, 0, 0);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, id, 8, 4);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, name, 16, 8);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, description, 24, 12);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, homepage_url, 32, 16);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, vendor, 40, 20);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, image_path, 48, 24);
CLAP_ABI_AT(clap_preset_discovery_soundpack_t, release_timestamp, 56, 32);

CLAP_ABI_TABLE(clap_universal_plugin_id_t, 2);
CLAP_ABI_SLOT(clap_universal_plugin_id_t, abi, 0);
CLAP_ABI_SLOT(clap_universal_plugin_id_t, id, 1);

CLAP_ABI_SIZE(clap_preset_discovery_metadata_receiver_t, 88, 44);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, receiver_data, 0);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, on_error, 1);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, begin_preset, 2);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, add_plugin_id, 3);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, set_soundpack_id, 4);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, set_flags, 5);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, add_creator, 6);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, set_description, 7);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, set_timestamps, 8);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, add_feature, 9);
CLAP_ABI_SLOT(clap_preset_discovery_metadata_receiver_t, add_extra_info, 10);

#undef CLAP_ABI_TABLE
#undef CLAP_ABI_SLOT
#undef CLAP_ABI_AT
#undef CLAP_ABI_ALIGN
#undef CLAP_ABI_SIZE
#undef CLAP_ABI_PICK
#endif /* CLAP_ABI_PICK */

#undef CLAP_ABI_ALIGNOF
#undef CLAP_ABI_ASSERT

#endif /* BRINDLOW_CLAP_ABI_LAYOUT_H */
