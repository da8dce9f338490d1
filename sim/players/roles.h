// The player programs a stand-in can play: each registers the window class and title
// the media functions look for, and the exe name they start it by.
#ifndef QV_SIM_ROLES_H
#define QV_SIM_ROLES_H

struct PlayerRole {
    const char* key;        // name used in --role and the .ini
    const char* exeName;    // the name products start it by (without a role, the exe name picks the role)
    const char* className;
    const char* title;
};

const PlayerRole* FindRoleByKey(const char* key);
const PlayerRole* FindRoleByExe(const char* exeName);

// The class and window name the Mediamatics player publishes under HKLM.
#define MEDIAMATICS_PUBLISH_KEY "Software\\Mediamatics\\DVD Express\\Mediamatics DVD Player\\Publish"

#endif
