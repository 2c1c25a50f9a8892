-- Run by ardour7-lua (Ardour's headless Lua session tool): a track with Tessaline, the "Studio"
-- program chosen by name through Ardour's preset interface with no plug-in window open, an edit
-- after it, and the saved session reopened. Prints one "values <stage>: v0 .. v10" line per
-- stage with Ardour's own view of the eleven room controls (plain values). Ardour 7.3 hangs
-- closing a session it reopened, so the reopening is a second run: arguments DIR FORMAT PLUGIN
-- [reopen], FORMAT VST3, LV2 or LXVST (VST2), PLUGIN the class's name ("Tessaline" or "Tessaline
-- Any Rate": the same controls, the same values in either). Each run prints "plugin <name>" for the
-- room it holds.
local dir, format, plugin, name = arg[1], arg[2], arg[3], "tessaline"
local kinds = { VST3 = ARDOUR.PluginType.VST3, LV2 = ARDOUR.PluginType.LV2, LXVST = ARDOUR.PluginType.LXVST }
assert(kinds[format], "format VST3, LV2 or LXVST")

local function show(proc, stage)
  local out = {}
  for i = 0, 10 do out[#out + 1] = string.format("%.4f", ARDOUR.LuaAPI.get_processor_param(proc, i, true)) end
  print("values " .. stage .. ": " .. table.concat(out, " "))
end

local function room()
  for r in Session:get_routes():iter() do
    if r:name() == "Room" then return r:nth_plugin(0) end
  end
end

if arg[4] == "reopen" then
  assert(load_session(dir, name), "session does not reopen")
  print("plugin " .. room():to_insert():plugin(0):name())
  show(room(), "reopened")
  return
end

local s = create_session(dir, name, 48000)
assert(s, "no session")
local tracks = Session:new_audio_track(2, 2, nil, 1, "Room", ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true)
local proc = ARDOUR.LuaAPI.new_plugin(Session, plugin, kinds[format], "")
assert(not proc:isnil(), plugin .. " not found")
print("plugin " .. proc:to_insert():plugin(0):name())
tracks:front():add_processor_by_index(proc, 0, nil, true)
show(proc, "default")
local plug = proc:to_insert():plugin(0)
local preset = plug:preset_by_label("Studio")
assert(preset and preset.valid, "no preset Studio")
assert(plug:load_preset(preset), "preset not loaded")
show(proc, "studio")
-- Abs L-R to 12.6 (of 14); Ardour holds a VST2 parameter's normalized value, 0.9 for it.
ARDOUR.LuaAPI.set_processor_param(proc, 3, format == "LXVST" and 0.9 or 12.6)
show(proc, "edited")
Session:save_state("", false, false, false, false, false)
show(proc, "saved")
