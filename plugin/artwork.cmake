# The editor's four PNG images, carried as PNG resources 100 to 103 by every module or
# program that links brindlow_plugin, and the same pictures drawn at 2x as 200 to 203
# (1x id + 100; the toolkit picks them for scales above 1). The resource objects are handed
# to each consumer directly (a static library would let the linker drop them).
add_library(brindlow_artwork OBJECT)
brindlow_embed_resources(TARGET brindlow_artwork
  ID 100 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/kyvBrindlow.png
  ID 101 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/switch.png
  ID 102 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/knob.png
  ID 103 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/splash.png
  ID 200 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/kyvBrindlow@2x.png
  ID 201 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/switch@2x.png
  ID 202 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/knob@2x.png
  ID 203 TYPE PNG FILE ${PROJECT_SOURCE_DIR}/img/splash@2x.png)
target_sources(brindlow_editor INTERFACE $<TARGET_OBJECTS:brindlow_artwork>)
