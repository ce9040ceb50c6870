# Installation as a desktop program:
#   games/plinkat               the game (games/, as the FHS and Debian want it: /usr/games)
#   games/plinkat-launch        runs it in the player's play folder (see tools/plinkat-launch)
#   share/plinkat/              the shipped data: level maps, config.cfg, ring.Wav, music/*.mid
#   share/icons/hicolor/<n>x<n>/apps/plinkat.png (tools/icon.cmake)
# and, from dist/, the menu entry, the AppStream metainfo, the manual page and the package's docs.
# The launcher finds the data as ../share/plinkat beside itself, so this layout is fixed.
install(TARGETS plinkat RUNTIME DESTINATION games)
install(PROGRAMS "${PROJECT_SOURCE_DIR}/tools/plinkat-launch" DESTINATION games)

# The shipped maps and settings come from the sources, never from the build's play folder, where
# a developer may have played and changed them; the sound and the melodies are generated.
file(GLOB shipped_maps CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/data/*.dbm")
install(FILES ${shipped_maps} "${PROJECT_SOURCE_DIR}/data/config.cfg" "${PLINKAT_PLAY_DIR}/ring.Wav"
        DESTINATION share/plinkat)
install(DIRECTORY "${PLINKAT_PLAY_DIR}/music/" DESTINATION share/plinkat/music FILES_MATCHING PATTERN "*.mid")

