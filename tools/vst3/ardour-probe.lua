-- Brindlow.vst3 in Ardour without its GUI (ardour7-lua < this file, from tools/test-vst3.sh,
-- which gives Ardour a private home whose ~/.vst3 holds only the built bundle): Ardour's own
-- VST 3 discovery, the plug-in on a stereo track of a new session with the dummy back-end,
-- the factory program "Vocal Doubler" loaded through Ardour's preset interface, its values
-- read back, and the session saved (which saves the plug-in's state). Prints VST3: and
-- PLUGIN: lines, then "probe done"; anything else that goes wrong is printed as
-- "probe failed: ...".
-- Printed at once: a probe that hangs (and is timed out) still shows how far it got.
local function say(s) print(s) io.stdout:flush() end
AudioEngine:set_backend("None (Dummy)", "", "")
local session = create_session(os.getenv("PROBE_SESSION"), "probe", 48000)
local ok, err = pcall(function()
  local id = nil
  for p in ARDOUR.LuaAPI.list_plugins():iter() do
    if p.type == ARDOUR.PluginType.VST3 then
      say("VST3: " .. p.unique_id .. " | " .. p.name .. " | " .. p.creator)
      if p.name == "Brindlow-Mono/Stereo Delay" then id = p.unique_id end
    end
  end
  assert(id, "Ardour did not find Brindlow-Mono/Stereo Delay (VST 3)")
  local tracks = session:new_audio_track(2, 2, nil, 1, "probe", ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true)
  local track = tracks:front()
  local proc = ARDOUR.LuaAPI.new_plugin(session, id, ARDOUR.PluginType.VST3, "")
  assert(not proc:isnil(), "Ardour cannot instantiate " .. id)
  assert(track:add_processor_by_index(proc, 0, nil, true) == 0, "cannot add the plug-in to a track")
  local insert = proc:to_insert()
  local plug = insert:plugin(0)
  local preset = plug:preset_by_label("Vocal Doubler")
  local loaded = preset.valid and plug:load_preset(preset)
  -- Ardour holds VST 3 values normalised; this reads them back in plain units (ms, the
  -- pan choice's index, dB) through the controller's normalizedParamToPlain.
  local function value(n)
    local v = ARDOUR.LuaAPI.get_plugin_insert_param(insert, n, true)
    return string.format("%.2f", v)
  end
  say("PLUGIN: " .. plug:name() .. " | inputs " .. plug:get_info().n_inputs:n_audio() .. " | Vocal Doubler " ..
        tostring(loaded) .. " | delay " .. value(0) .. " pan " .. value(1) .. " wet_mix " .. value(2))
  -- The processor takes the program from its parameter queue in the next blocks, before
  -- its state is saved.
  ARDOUR.LuaAPI.usleep(500000)
  session:save_state("")
end)
print(ok and "probe done" or ("probe failed: " .. tostring(err)))
