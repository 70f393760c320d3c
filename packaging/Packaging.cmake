# The two Debian packages, made by `cmake --build build --target package`:
#   kvclient          the client with libAES.so and kvcipher (/usr/lib/kvclient), its launcher,
#                     desktop entry and icon
#   kvfactory-server  the server command, the SQL files and the backup timers
set(KV_PKG ${CMAKE_CURRENT_LIST_DIR})
set(KV_CLIENT_LIB lib/kvclient)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(KV_EXEC_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The client's folder holds the program, the cipher library it loads by name and the tool
# that enciphers with it; each finds the library beside itself through its run path.
install(TARGETS kvclient kvcipher RUNTIME DESTINATION ${KV_CLIENT_LIB} COMPONENT client)
install(TARGETS AES LIBRARY DESTINATION ${KV_CLIENT_LIB} COMPONENT client)
install(PROGRAMS ${KV_PKG}/client/kvclient DESTINATION bin COMPONENT client)
install(CODE "file(CREATE_LINK ../${KV_CLIENT_LIB}/kvcipher \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/kvcipher SYMBOLIC)"
    COMPONENT client)
install(FILES ${KV_PKG}/client/kvclient.desktop DESTINATION share/applications COMPONENT client)

# The icon, drawn at every size the desktops ask for.
set(KV_ICON_SIZES 16 24 32 48 64 128 256)
set(KV_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(KV_ICONS)
foreach(size ${KV_ICON_SIZES})
    list(APPEND KV_ICONS ${KV_ICON_DIR}/${size}.png)
endforeach()
add_custom_command(OUTPUT ${KV_ICONS} COMMAND kvicon ${KV_ICON_DIR} ${KV_ICON_SIZES} DEPENDS kvicon
    COMMENT "Drawing the icon")
add_custom_target(kvicons ALL DEPENDS ${KV_ICONS})
foreach(size ${KV_ICON_SIZES})
    install(FILES ${KV_ICON_DIR}/${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
        RENAME kvclient.png COMPONENT client)
endforeach()

# The server: its command, what it loads into the database, and the timers of the backups.
install(PROGRAMS ${KV_PKG}/server/kvfactory-server DESTINATION sbin COMPONENT server)
install(FILES ${CMAKE_SOURCE_DIR}/sql/schema.sql ${CMAKE_SOURCE_DIR}/sql/seed.sql ${CMAKE_SOURCE_DIR}/sql/grants.sql
    ${CMAKE_SOURCE_DIR}/sql/upgrade.sql ${CMAKE_SOURCE_DIR}/sql/demo.sql
    DESTINATION share/kvfactory-server/sql COMPONENT server)
file(GLOB KV_UNITS CONFIGURE_DEPENDS ${KV_PKG}/server/systemd/*)
install(FILES ${KV_UNITS} DESTINATION /lib/systemd/system COMPONENT server)

# The manual pages, compressed as Debian keeps them.
foreach(page client/kvclient.1 client/kvcipher.1 server/kvfactory-server.8)
    get_filename_component(name ${page} NAME)
    get_filename_component(component ${page} DIRECTORY)
    string(REGEX REPLACE ".*\\." "" section ${name})
    set(gz ${CMAKE_BINARY_DIR}/packaging/man/${name}.gz)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/man)
    execute_process(COMMAND gzip -9n -c ${KV_PKG}/man/${name} OUTPUT_FILE ${gz})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KV_PKG}/man/${name})
    install(FILES ${gz} DESTINATION share/man/man${section} COMPONENT ${component})
endforeach()

# Each package's copyright and changelog, as Debian asks.
set(CPACK_PACKAGE_CONTACT "kvclient developers <kvclient@kvfactory.cn>")
string(TIMESTAMP KV_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
foreach(pair "client;kvclient" "server;kvfactory-server")
    list(GET pair 0 component)
    list(GET pair 1 KV_PACKAGE)
    set(doc ${CMAKE_BINARY_DIR}/packaging/${KV_PACKAGE})
    configure_file(${KV_PKG}/changelog.in ${doc}/changelog @ONLY)
    execute_process(COMMAND gzip -9nf ${doc}/changelog)
    install(FILES ${doc}/changelog.gz ${KV_PKG}/copyright DESTINATION share/doc/${KV_PACKAGE} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL client server)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_CLIENT_PACKAGE_NAME kvclient)
set(CPACK_DEBIAN_CLIENT_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_CLIENT_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# What the libraries do not say: the Chinese face and Qt's
# Chinese texts of the standard buttons.
set(CPACK_DEBIAN_CLIENT_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_COMPONENT_CLIENT_DESCRIPTION "washing factory production management: the desktop client
The desktop client of the production-management system of a garment-washing
factory: orders, workstations, shipping, piece-work, raw materials. Every PC
runs it against the factory's MariaDB server; /etc/kvclient/Config.ini holds
the connection settings (kvfactory-server setup writes it).")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME kvfactory-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION database)
# kvcipher (kvclient) enciphers the PCs' Config.ini.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS
    "mariadb-server, mariadb-client, mariadb-backup, openssl, rsync, iproute2, kvclient (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_SERVER_DESCRIPTION "washing factory production management: the database server
Sets up the factory's MariaDB server in one command (kvfactory-server setup):
the database, its accounts limited to the factory's network, TLS, the binary
log and nightly backups that are checked, copied and restored to any moment.")

include(CPack)
