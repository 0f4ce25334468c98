-- Brindlow.lv2 in Ardour without its GUI (ardour7-lua < this file, LV2_PATH set by
-- tools/test-lv2.sh): Ardour's own plug-in discovery, both plug-ins instantiated on a
-- track of a new session with the dummy back-end, the "Vocal Doubler" preset loaded and
-- the session saved (which saves the plug-ins' state). Prints LV2: and PLUGIN: lines,
-- then "probe done"; anything else that goes wrong is printed as "probe failed: ...".
AudioEngine:set_backend("None (Dummy)", "", "")
local session = create_session(os.getenv("PROBE_SESSION"), "probe", 48000)
local ok, err = pcall(function()
  for p in ARDOUR.LuaAPI.list_plugins():iter() do
    if p.type == ARDOUR.PluginType.LV2 then print("LV2: " .. p.unique_id .. " | " .. p.name .. " | " .. p.creator) end
  end
  local tracks = session:new_audio_track(1, 2, nil, 1, "probe", ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true)
  local track = tracks:front()
  for _, uri in ipairs({"urn:ardelnu:brindlow:mono", "urn:ardelnu:brindlow:stereo"}) do
    local proc = ARDOUR.LuaAPI.new_plugin(session, uri, ARDOUR.PluginType.LV2, "")
    assert(not proc:isnil(), "Ardour cannot instantiate " .. uri)
    assert(track:add_processor_by_index(proc, 0, nil, true) == 0, "cannot add " .. uri .. " to a track")
    local insert = proc:to_insert()
    local plug = insert:plugin(0)
    local preset = plug:preset_by_label("Vocal Doubler")
    local loaded = preset.valid and plug:load_preset(preset)
    local function value(n) return string.format("%.2f", ARDOUR.LuaAPI.get_plugin_insert_param(insert, n, true)) end
    print("PLUGIN: " .. uri .. " | inputs " .. plug:get_info().n_inputs:n_audio() .. " | Vocal Doubler " ..
          tostring(loaded) .. " | delay " .. value(0) .. " pan " .. value(1) .. " wet_mix " .. value(2))
  end
  session:save_state("")
end)
print(ok and "probe done" or ("probe failed: " .. tostring(err)))
