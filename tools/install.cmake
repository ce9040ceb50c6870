# Installation as a desktop program, laid out as Debian's games are:
#   games/plinkat               the game (games/: /usr/games in the package)
#   games/plinkat-launch        a link to it, the name the menu entry once ran
#   share/games/plinkat/        the shipped files: level maps, config.cfg, ring.Wav, music/*.mid
#   share/icons/hicolor/<n>x<n>/apps/plinkat.png (tools/icon.cmake)
# and, from dist/, the menu entry, the AppStream metainfo, the manual page and the package's docs.
# The game copies the shipped files it finds beside its own folder into the player's play folder
# (launch/start.h), so the first two folders are named once, in the top CMakeLists.txt.
install(TARGETS plinkat RUNTIME DESTINATION "${PLINKAT_INSTALL_BINDIR}")
# A stripped game (cpack) also loses the compilers' names in .comment, as Debian's packages do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${PLINKAT_INSTALL_BINDIR}/plinkat\" COMMAND_ERROR_IS_FATAL ANY)
    endif()
")
set(alias "${CMAKE_CURRENT_BINARY_DIR}/plinkat-launch")
file(CREATE_LINK plinkat "${alias}" SYMBOLIC)
install(FILES "${alias}" DESTINATION "${PLINKAT_INSTALL_BINDIR}")

# The shipped maps and settings come from the sources, never from the build's play folder, where
# a developer may have played and changed them; the sound and the melodies are generated.
file(GLOB shipped_maps CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/data/*.dbm")
install(FILES ${shipped_maps} "${PROJECT_SOURCE_DIR}/data/config.cfg" "${PLINKAT_PLAY_DIR}/ring.Wav"
        DESTINATION "${PLINKAT_INSTALL_DATADIR}")
install(DIRECTORY "${PLINKAT_PLAY_DIR}/music/" DESTINATION "${PLINKAT_INSTALL_DATADIR}/music"
        FILES_MATCHING PATTERN "*.mid")
