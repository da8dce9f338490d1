// Danish texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Velkommen"
#define T_WELCOME_710 "Velkommen til installationsprogrammet til %s. Dette program installerer %s på computeren."
#define T_WELCOME_720 "Det anbefales kraftigt, at du afslutter alle Windows-programmer, før du kører dette installationsprogram."

#define T_INTERFACE_CAPTION "Valg af hardwareinterface"
#define T_INTERFACE_202 "Vælg interfacetypen for enheden."
#define T_INTERFACE_301 "&PS/2-interface"
#define T_INTERFACE_303 "&USB-interface (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Vælg destination"
#define T_DESTINATION_202 "Installationsprogrammet installerer %s i følgende mappe.\n\nKlik på Næste for at installere i denne mappe.\n\nKlik på Gennemse, og vælg en anden mappe for at installere i en anden mappe."
#define T_DESTINATION_203 "Hvis du ikke vil installere %s, kan du klikke på Annuller for at afslutte installationsprogrammet."
#define T_DESTINATION_GROUP "Destinationsmappe"
#define T_DESTINATION_31 "G&ennemse..."

#define T_FOLDER_CAPTION "Vælg programmappe"
#define T_FOLDER_710 "Installationsprogrammet tilføjer programikoner til den programmappe, der er angivet nedenfor. Du kan skrive et nyt mappenavn eller vælge en mappe på listen over eksisterende mapper. Klik på Næste for at fortsætte."
#define T_FOLDER_PROGRAM_LABEL "&Programmappe:"
#define T_FOLDER_EXISTING_LABEL "E&ksisterende mapper:"

#define T_SUMMARY_CAPTION "Start installationen"
#define T_SUMMARY_711 "Installationsprogrammet er klar til at starte installationen. Klik på Tilbage for at gennemse eller ændre den aktuelle konfiguration. Hvis konfigurationen er korrekt, skal du klikke på Næste for at starte installationen."
#define T_SUMMARY_701 "Aktuel konfiguration:"

#define T_PROGRESS_CAPTION "Installation i gang"
#define T_PROGRESS_1450 "Vent, mens installationsprogrammet kopierer filerne til systemet."
#define T_PROGRESS_1003 "Installationsprogrammet opdaterer registreringsdatabasen og driveren. Vent..."
#define T_PROGRESS_1500 "Fra:"
#define T_PROGRESS_2 "Til:"

#define T_RESULT_CAPTION "Resultat af installationen"
#define T_RESULT_711 "%s er installeret.\n\nDu skal genstarte computeren, før du kan bruge %s."
#define T_RESULT_502 "&Genstart computeren nu."
#define T_RESULT_503 "&Jeg genstarter computeren senere."
#define T_RESULT_712 "Fjern eventuelle disketter fra diskettedrevene, og klik på Udfør for at fuldføre installationen."
#define T_RESULT_713 "%s er installeret.\n\nKlik på Udfør for at fuldføre installationen."
#define T_RESULT_1004 "Installationsprogrammet kunne ikke installere driveren på systemet."
#define T_RESULT_1005 "Du har ikke tilstrækkelige rettigheder til at installere driveren. Log på igen som administrator, og kør dette installationsprogram igen."
#define T_RESULT_1007 "Se README.TXT eller brugervejledningen for at få flere oplysninger."

#define T_EXIT_CAPTION "Afslut installationen"
#define T_EXIT_1032 "Installationen er ikke fuldført. Hvis du afslutter nu, bliver %s ikke installeret på computeren."
#define T_EXIT_AGAIN "Du kan til enhver tid køre installationsprogrammet igen for at fuldføre installationen."
#define T_EXIT_1033 "Klik på Fortsæt for at fortsætte installationen af %s. Klik på Afslut installationen for at afslutte."
#define T_EXIT_RESUME "&Fortsæt"
#define T_EXIT_EXIT "&Afslut installationen"
