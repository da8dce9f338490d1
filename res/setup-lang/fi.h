// Finnish texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Tervetuloa"
#define T_WELCOME_710 "Tervetuloa sovelluksen %s asennusohjelmaan. Tämä ohjelma asentaa sovelluksen %s tietokoneeseesi."
#define T_WELCOME_720 "On erittäin suositeltavaa, että suljet kaikki Windows-ohjelmat ennen tämän asennusohjelman suorittamista."

#define T_INTERFACE_CAPTION "Laitteistoliitännän valinta"
#define T_INTERFACE_202 "Valitse laitteesi liitäntätyyppi."
#define T_INTERFACE_301 "&PS/2-liitäntä"
#define T_INTERFACE_303 "&USB-liitäntä (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Kohdekansion valinta"
#define T_DESTINATION_202 "Asennusohjelma asentaa sovelluksen %s seuraavaan kansioon.\n\nJos haluat asentaa tähän kansioon, valitse Seuraava.\n\nJos haluat asentaa toiseen kansioon, valitse Selaa ja valitse toinen kansio."
#define T_DESTINATION_203 "Voit jättää sovelluksen %s asentamatta valitsemalla Peruuta, jolloin asennus lopetetaan."
#define T_DESTINATION_GROUP "Kohdekansio"
#define T_DESTINATION_31 "Se&laa..."

#define T_FOLDER_CAPTION "Ohjelmakansion valinta"
#define T_FOLDER_710 "Asennusohjelma lisää ohjelmakuvakkeet alla näkyvään ohjelmakansioon. Voit kirjoittaa uuden kansion nimen tai valita kansion aiemmin luotujen kansioiden luettelosta. Jatka valitsemalla Seuraava."
#define T_FOLDER_PROGRAM_LABEL "&Ohjelmakansiot:"
#define T_FOLDER_EXISTING_LABEL "&Aiemmin luodut kansiot:"

#define T_SUMMARY_CAPTION "Asennuksen aloittaminen"
#define T_SUMMARY_711 "Asennusohjelma on valmis aloittamaan asennuksen. Jos haluat tarkistaa tai muuttaa nykyisiä asetuksia, valitse Edellinen. Jos nykyiset asetukset ovat oikein, aloita asennus valitsemalla Seuraava."
#define T_SUMMARY_701 "Nykyiset asetukset:"

#define T_PROGRESS_CAPTION "Asennus käynnissä"
#define T_PROGRESS_1450 "Odota, kun asennusohjelma kopioi tiedostoja järjestelmään."
#define T_PROGRESS_1003 "Asennusohjelma päivittää rekisteriä ja ohjainta. Odota..."
#define T_PROGRESS_1500 "Lähde:"
#define T_PROGRESS_2 "Kohde:"

#define T_RESULT_CAPTION "Asennuksen tulos"
#define T_RESULT_711 "Asennusohjelma on asentanut sovelluksen %s.\n\nTietokone on käynnistettävä uudelleen, ennen kuin voit käyttää sovellusta %s."
#define T_RESULT_502 "&Käynnistä tietokone uudelleen nyt."
#define T_RESULT_503 "Käynnistän tietokoneen uudelleen &myöhemmin."
#define T_RESULT_712 "Poista levykkeet levykeasemista ja lopeta asennus valitsemalla Valmis."
#define T_RESULT_713 "Asennusohjelma on asentanut sovelluksen %s.\n\nLopeta asennus valitsemalla Valmis."
#define T_RESULT_1004 "Asennusohjelma ei voinut asentaa ohjainta järjestelmään."
#define T_RESULT_1005 "Sinulla ei ole riittäviä oikeuksia ohjaimen asentamiseen. Kirjaudu sisään järjestelmänvalvojana ja suorita tämä asennusohjelma uudelleen."
#define T_RESULT_1007 "Lisätietoja on README.TXT-tiedostossa tai käyttöoppaassa."

#define T_EXIT_CAPTION "Asennuksen lopettaminen"
#define T_EXIT_1032 "Asennus on kesken. Jos lopetat asennuksen nyt, sovellusta %s ei asenneta tietokoneeseen."
#define T_EXIT_AGAIN "Voit suorittaa asennusohjelman uudelleen milloin tahansa ja viimeistellä asennuksen."
#define T_EXIT_1033 "Jos haluat jatkaa sovelluksen %s asentamista, valitse Jatka. Jos haluat lopettaa, valitse Lopeta asennus."
#define T_EXIT_RESUME "&Jatka"
#define T_EXIT_EXIT "&Lopeta asennus"
