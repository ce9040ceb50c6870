# Installation as a desktop program:
#   bin/plinkat                 the game
#   bin/plinkat-launch          runs it in the player's play folder (see tools/plinkat-launch)
#   share/plinkat/              the shipped data: level maps, config.cfg, ring.Wav, music/*.mid
#   share/applications/plinkat.desktop
#   share/icons/hicolor/<n>x<n>/apps/plinkat.png (tools/icon.cmake)
# The launcher finds the data as ../share/plinkat beside itself, so this layout is fixed.
install(TARGETS plinkat RUNTIME DESTINATION bin)
install(PROGRAMS "${PROJECT_SOURCE_DIR}/tools/plinkat-launch" DESTINATION bin)

# The shipped maps and settings come from the sources, never from the build's play folder, where
# a developer may have played and changed them; the sound and the melodies are generated.
file(GLOB shipped_maps CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/data/*.dbm")
install(FILES ${shipped_maps} "${PROJECT_SOURCE_DIR}/data/config.cfg" "${PLINKAT_PLAY_DIR}/ring.Wav"
        DESTINATION share/plinkat)
install(DIRECTORY "${PLINKAT_PLAY_DIR}/music/" DESTINATION share/plinkat/music FILES_MATCHING PATTERN "*.mid")

# The menu entry names the launcher by its installed path, so it works for any prefix
# (cmake --install <build> --prefix <dir> included).
install(CODE "
    set(PLINKAT_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/bin/plinkat-launch\")
    configure_file(\"${PROJECT_SOURCE_DIR}/tools/plinkat.desktop.in\" \"${CMAKE_BINARY_DIR}/plinkat.desktop\" @ONLY)
")
install(FILES "${CMAKE_BINARY_DIR}/plinkat.desktop" DESTINATION share/applications)
