#include "lang/message_catalogue.h"

#include <algorithm>

namespace quillo::lang {

// Texts that are pieces of composed lines keep their blanks in every language: 360 leads with
// one, 370 and 510 end with one, 380 to 400 lead with four and end with one, 540 leads with
// three. Chinese is written in simplified characters, except the fixed texts of messages 540
// and 590, which use traditional ones.
// clang-format off
// std::to_array counts the texts: a missing or extra one fails to compile.
constexpr std::array<std::string_view, kMessageTableSize> MessageTable =
    std::to_array<std::string_view>({
    // 0
    "Выберите устройство",  // ru
    "Select device",  // en
    "选择设备",  // zh
    "Виберіть пристрій",  // uk
    "Gerät wählen",  // de
    "Vælg en enhed",  // da
    "Wybierz urządzenie",  // pl
    "Velg en enhet",  // no
    "Välj enhet",  // sv
    "Valitse laite",  // fi
    // 10
    "Режим устройства",  // ru
    "Select device mode",  // en
    "选择设备模式",  // zh
    "Режим пристрою",  // uk
    "Gerätemodus wählen",  // de
    "Vælg enhedstilstand",  // da
    "Wybierz tryb urządzenia",  // pl
    "Velg enhetsmodus",  // no
    "Välj enhetsläge",  // sv
    "Valitse laitteen tila",  // fi
    // 20
    "Выберите тип подключения",  // ru
    "Select connection type",  // en
    "选择连接类型",  // zh
    "Виберіть тип підключення",  // uk
    "Verbindungsart wählen",  // de
    "Vælg forbindelsestype",  // da
    "Wybierz typ połączenia",  // pl
    "Velg tilkoblingstype",  // no
    "Välj anslutningstyp",  // sv
    "Valitse yhteystyyppi",  // fi
    // 30
    "Ведущий",  // ru
    "Master",  // en
    "主机",  // zh
    "Ведучий",  // uk
    "Master",  // de
    "Master",  // da
    "Master",  // pl
    "Master",  // no
    "Master",  // sv
    "Master",  // fi
    // 40
    "Ведомый",  // ru
    "Slave",  // en
    "从机",  // zh
    "Ведений",  // uk
    "Slave",  // de
    "Slave",  // da
    "Slave",  // pl
    "Slave",  // no
    "Slave",  // sv
    "Slave",  // fi
    // 50
    "Без Wi-Fi роутера",  // ru
    "No Wi-Fi router",  // en
    "不使用 Wi-Fi 路由器",  // zh
    "Без Wi-Fi роутера",  // uk
    "Ohne WLAN-Router",  // de
    "Uden Wi-Fi-router",  // da
    "Bez routera Wi-Fi",  // pl
    "Uten Wi-Fi-ruter",  // no
    "Utan Wi-Fi-router",  // sv
    "Ilman Wi-Fi-reititintä",  // fi
    // 60
    "С Wi-Fi роутером",  // ru
    "With Wi-Fi router",  // en
    "使用 Wi-Fi 路由器",  // zh
    "З Wi-Fi роутером",  // uk
    "Mit WLAN-Router",  // de
    "Med Wi-Fi-router",  // da
    "Z routerem Wi-Fi",  // pl
    "Med Wi-Fi-ruter",  // no
    "Med Wi-Fi-router",  // sv
    "Wi-Fi-reitittimen kautta",  // fi
    // 70
    "Получить текущие параметры",  // ru
    "Receive current parameters",  // en
    "读取当前参数",  // zh
    "Отримати поточні параметри",  // uk
    "Aktuelle Parameter abrufen",  // de
    "Hent aktuelle parametre",  // da
    "Pobierz bieżące parametry",  // pl
    "Hent gjeldende parametere",  // no
    "Hämta aktuella parametrar",  // sv
    "Hae nykyiset parametrit",  // fi
    // 80
    "Восстановить заводские настройки",  // ru
    "Restore default parameters",  // en
    "恢复默认参数",  // zh
    "Відновити заводські налаштування",  // uk
    "Standardparameter wiederherstellen",  // de
    "Gendan standardparametre",  // da
    "Przywróć parametry domyślne",  // pl
    "Gjenopprett standardparametere",  // no
    "Återställ standardparametrar",  // sv
    "Palauta oletusparametrit",  // fi
    // 90
    "Wi-Fi",  // ru
    "Wi-Fi",  // en
    "Wi-Fi",  // zh
    "Wi-Fi",  // uk
    "WLAN",  // de
    "Wi-Fi",  // da
    "Wi-Fi",  // pl
    "Wi-Fi",  // no
    "Wi-Fi",  // sv
    "Wi-Fi",  // fi
    // 100
    "Вентилятор",  // ru
    "Fan",  // en
    "风扇",  // zh
    "Вентилятор",  // uk
    "Lüfter",  // de
    "Ventilator",  // da
    "Wentylator",  // pl
    "Vifte",  // no
    "Fläkt",  // sv
    "Puhallin",  // fi
    // 110
    "Фильтр",  // ru
    "Filter",  // en
    "滤网",  // zh
    "Фільтр",  // uk
    "Filter",  // de
    "Filter",  // da
    "Filtr",  // pl
    "Filter",  // no
    "Filter",  // sv
    "Suodatin",  // fi
    // 120
    "Поиск Wi-Fi",  // ru
    "Search Wi-Fi",  // en
    "搜索 Wi-Fi",  // zh
    "Пошук Wi-Fi",  // uk
    "WLAN suchen",  // de
    "Søg efter Wi-Fi",  // da
    "Wyszukaj sieci",  // pl
    "Søk etter Wi-Fi",  // no
    "Sök efter Wi-Fi",  // sv
    "Etsi Wi-Fi-verkkoja",  // fi
    // 130
    "Имя сети Wi-Fi (1 - 32 символа)",  // ru
    "Name of Wi-Fi (1 - 32 characters)",  // en
    "Wi-Fi 名称（1 - 32 个字符）",  // zh
    "Назва мережі Wi-Fi (1 - 32 символи)",  // uk
    "WLAN-Name (1 - 32 Zeichen)",  // de
    "Wi-Fi-navn (1 - 32 tegn)",  // da
    "Nazwa sieci Wi-Fi (1 - 32 znaki)",  // pl
    "Wi-Fi-navn (1 - 32 tegn)",  // no
    "Wi-Fi-namn (1 - 32 tecken)",  // sv
    "Wi-Fi-verkon nimi (1 - 32 merkkiä)",  // fi
    // 140
    "Тип защиты",  // ru
    "Type of security",  // en
    "安全类型",  // zh
    "Тип захисту",  // uk
    "Sicherheitstyp",  // de
    "Sikkerhedstype",  // da
    "Typ zabezpieczeń",  // pl
    "Sikkerhetstype",  // no
    "Säkerhetstyp",  // sv
    "Suojaustyyppi",  // fi
    // 150
    "Открытая",  // ru
    "Open",  // en
    "开放",  // zh
    "Відкрита",  // uk
    "Offen",  // de
    "Åben",  // da
    "Otwarta",  // pl
    "Åpen",  // no
    "Öppen",  // sv
    "Avoin",  // fi
    // 160
    "WPA_PSK",  // ru
    "WPA_PSK",  // en
    "WPA_PSK",  // zh
    "WPA_PSK",  // uk
    "WPA_PSK",  // de
    "WPA_PSK",  // da
    "WPA_PSK",  // pl
    "WPA_PSK",  // no
    "WPA_PSK",  // sv
    "WPA_PSK",  // fi
    // 170
    "WPA2_PSK",  // ru
    "WPA2_PSK",  // en
    "WPA2_PSK",  // zh
    "WPA2_PSK",  // uk
    "WPA2_PSK",  // de
    "WPA2_PSK",  // da
    "WPA2_PSK",  // pl
    "WPA2_PSK",  // no
    "WPA2_PSK",  // sv
    "WPA2_PSK",  // fi
    // 180
    "WPA_WPA2_PSK",  // ru
    "WPA_WPA2_PSK",  // en
    "WPA_WPA2_PSK",  // zh
    "WPA_WPA2_PSK",  // uk
    "WPA_WPA2_PSK",  // de
    "WPA_WPA2_PSK",  // da
    "WPA_WPA2_PSK",  // pl
    "WPA_WPA2_PSK",  // no
    "WPA_WPA2_PSK",  // sv
    "WPA_WPA2_PSK",  // fi
    // 190
    "Новый пароль Wi-Fi (8 - 60 символов)",  // ru
    "New Wi-Fi password (8 - 60 characters)",  // en
    "新 Wi-Fi 密码（8 - 60 个字符）",  // zh
    "Новий пароль Wi-Fi (8 - 60 символів)",  // uk
    "Neues WLAN-Passwort (8 - 60 Zeichen)",  // de
    "Ny Wi-Fi-adgangskode (8 - 60 tegn)",  // da
    "Nowe hasło Wi-Fi (8 - 60 znaków)",  // pl
    "Nytt Wi-Fi-passord (8 - 60 tegn)",  // no
    "Nytt Wi-Fi-lösenord (8 - 60 tecken)",  // sv
    "Uusi Wi-Fi-salasana (8 - 60 merkkiä)",  // fi
    // 200
    "Пароль Wi-Fi (0 - 60 символов)",  // ru
    "Wi-Fi Password (0 - 60 characters)",  // en
    "Wi-Fi 密码（0 - 60 个字符）",  // zh
    "Пароль Wi-Fi (0 - 60 символів)",  // uk
    "WLAN-Passwort (0 - 60 Zeichen)",  // de
    "Wi-Fi-adgangskode (0 - 60 tegn)",  // da
    "Hasło Wi-Fi (0 - 60 znaków)",  // pl
    "Wi-Fi-passord (0 - 60 tegn)",  // no
    "Wi-Fi-lösenord (0 - 60 tecken)",  // sv
    "Wi-Fi-salasana (0 - 60 merkkiä)",  // fi
    // 210
    "Канал Wi-Fi",  // ru
    "Wi-Fi channel",  // en
    "Wi-Fi 信道",  // zh
    "Канал Wi-Fi",  // uk
    "WLAN-Kanal",  // de
    "Wi-Fi-kanal",  // da
    "Kanał Wi-Fi",  // pl
    "Wi-Fi-kanal",  // no
    "Wi-Fi-kanal",  // sv
    "Wi-Fi-kanava",  // fi
    // 220
    "IP-адрес ведущего",  // ru
    "MASTER IP address",  // en
    "主机 IP 地址",  // zh
    "IP-адреса ведучого",  // uk
    "Master-IP-Adresse",  // de
    "Master-IP-adresse",  // da
    "Adres IP urządzenia Master",  // pl
    "Master-IP-adresse",  // no
    "Master-IP-adress",  // sv
    "Master-laitteen IP-osoite",  // fi
    // 230
    "IP-адрес ведомого",  // ru
    "SLAVE IP address",  // en
    "从机 IP 地址",  // zh
    "IP-адреса веденого",  // uk
    "Slave-IP-Adresse",  // de
    "Slave-IP-adresse",  // da
    "Adres IP urządzenia Slave",  // pl
    "Slave-IP-adresse",  // no
    "Slave-IP-adress",  // sv
    "Slave-laitteen IP-osoite",  // fi
    // 240
    "Номер ведомого",  // ru
    "SLAVE number",  // en
    "从机编号",  // zh
    "Номер веденого",  // uk
    "Slave-Nummer",  // de
    "Slave-nummer",  // da
    "Numer urządzenia Slave",  // pl
    "Slave-nummer",  // no
    "Slave-nummer",  // sv
    "Slave-laitteen numero",  // fi
    // 250
    "DHCP",  // ru
    "DHCP",  // en
    "DHCP",  // zh
    "DHCP",  // uk
    "DHCP",  // de
    "DHCP",  // da
    "DHCP",  // pl
    "DHCP",  // no
    "DHCP",  // sv
    "DHCP",  // fi
    // 260
    "Статический",  // ru
    "Static",  // en
    "静态",  // zh
    "Статична",  // uk
    "Statisch",  // de
    "Statisk",  // da
    "Statyczny",  // pl
    "Statisk",  // no
    "Statisk",  // sv
    "Staattinen",  // fi
    // 270
    "Wi-Fi подключен",  // ru
    "Wi-Fi Connected",  // en
    "Wi-Fi 已连接",  // zh
    "Wi-Fi підключено",  // uk
    "WLAN verbunden",  // de
    "Wi-Fi tilsluttet",  // da
    "Wi-Fi połączone",  // pl
    "Wi-Fi tilkoblet",  // no
    "Wi-Fi ansluten",  // sv
    "Wi-Fi yhdistetty",  // fi
    // 280
    "Wi-Fi не подключен",  // ru
    "Wi-Fi Disconnected",  // en
    "Wi-Fi 未连接",  // zh
    "Wi-Fi не підключено",  // uk
    "WLAN nicht verbunden",  // de
    "Wi-Fi ikke tilsluttet",  // da
    "Wi-Fi niepołączone",  // pl
    "Wi-Fi ikke tilkoblet",  // no
    "Wi-Fi ej ansluten",  // sv
    "Ei Wi-Fi-yhteyttä",  // fi
    // 290
    "Ведущий подключен",  // ru
    "Master Connected",  // en
    "主机已连接",  // zh
    "Ведучий підключений",  // uk
    "Master verbunden",  // de
    "Master tilsluttet",  // da
    "Master połączony",  // pl
    "Master tilkoblet",  // no
    "Master ansluten",  // sv
    "Master yhdistetty",  // fi
    // 300
    "Ведущий не подключен",  // ru
    "Master Disconnected",  // en
    "主机未连接",  // zh
    "Ведучий не підключений",  // uk
    "Master nicht verbunden",  // de
    "Master ikke tilsluttet",  // da
    "Master niepołączony",  // pl
    "Master ikke tilkoblet",  // no
    "Master ej ansluten",  // sv
    "Ei yhteyttä Masteriin",  // fi
    // 310
    "Сохранить",  // ru
    "Apply/Save",  // en
    "应用/保存",  // zh
    "Зберегти",  // uk
    "Speichern",  // de
    "Anvend/Gem",  // da
    "Zapisz",  // pl
    "Bruk/Lagre",  // no
    "Spara",  // sv
    "Tallenna",  // fi
    // 320
    "Разрешить выключение",  // ru
    "Available OFF device",  // en
    "允许关闭设备",  // zh
    "Дозволити вимкнення",  // uk
    "Ausschalten erlauben",  // de
    "Tillad slukning af enheden",  // da
    "Zezwalaj na wyłączanie",  // pl
    "Tillat avslåing av enheten",  // no
    "Tillåt avstängning av enheten",  // sv
    "Salli laitteen sammutus",  // fi
    // 330
    "Направление",  // ru
    "Direction",  // en
    "气流方向",  // zh
    "Напрямок",  // uk
    "Luftrichtung",  // de
    "Luftretning",  // da
    "Kierunek przepływu",  // pl
    "Luftretning",  // no
    "Luftriktning",  // sv
    "Ilmavirran suunta",  // fi
    // 340
    "Приток",  // ru
    "Supply",  // en
    "送风",  // zh
    "Притік",  // uk
    "Zuluft",  // de
    "Indblæs",  // da
    "Nawiew",  // pl
    "Tilluft",  // no
    "Tilluft",  // sv
    "Tulo",  // fi
    // 350
    "Вытяжка",  // ru
    "Exhaust",  // en
    "排风",  // zh
    "Витяжка",  // uk
    "Abluft",  // de
    "Udsug",  // da
    "Wywiew",  // pl
    "Avtrekk",  // no
    "Frånluft",  // sv
    "Poisto",  // fi
    // 360
    " %RH",  // ru
    " %RH",  // en
    " %RH",  // zh
    " %RH",  // uk
    " %RF",  // de
    " %RH",  // da
    " %RH",  // pl
    " %RH",  // no
    " %RH",  // sv
    " %RH",  // fi
    // 370
    "Дни: ",  // ru
    "Days: ",  // en
    "天: ",  // zh
    "Дні: ",  // uk
    "Tage: ",  // de
    "Dage: ",  // da
    "Dni: ",  // pl
    "Dager: ",  // no
    "Dagar: ",  // sv
    "Päivät: ",  // fi
    // 380
    "    Часы: ",  // ru
    "    Hours: ",  // en
    "    小时: ",  // zh
    "    Години: ",  // uk
    "    Stunden: ",  // de
    "    Timer: ",  // da
    "    Godziny: ",  // pl
    "    Timer: ",  // no
    "    Timmar: ",  // sv
    "    Tunnit: ",  // fi
    // 390
    "    Минуты: ",  // ru
    "    Minutes: ",  // en
    "    分钟: ",  // zh
    "    Хвилини: ",  // uk
    "    Minuten: ",  // de
    "    Minutter: ",  // da
    "    Minuty: ",  // pl
    "    Minutter: ",  // no
    "    Minuter: ",  // sv
    "    Minuutit: ",  // fi
    // 400
    "    Секунды: ",  // ru
    "    Seconds: ",  // en
    "    秒: ",  // zh
    "    Секунди: ",  // uk
    "    Sekunden: ",  // de
    "    Sekunder: ",  // da
    "    Sekundy: ",  // pl
    "    Sekunder: ",  // no
    "    Sekunder: ",  // sv
    "    Sekunnit: ",  // fi
    // 410
    "Сбросить таймер фильтра",  // ru
    "Reset the filter timer",  // en
    "重置滤网计时器",  // zh
    "Скинути таймер фільтра",  // uk
    "Filtertimer zurücksetzen",  // de
    "Nulstil filtertimer",  // da
    "Zresetuj licznik filtra",  // pl
    "Nullstill filtertimer",  // no
    "Återställ filtertimer",  // sv
    "Nollaa suodattimen ajastin",  // fi
    // 420
    "S/N:",  // ru
    "S/N:",  // en
    "S/N:",  // zh
    "S/N:",  // uk
    "S/N:",  // de
    "S/N:",  // da
    "S/N:",  // pl
    "S/N:",  // no
    "S/N:",  // sv
    "S/N:",  // fi
    // 430
    "Язык",  // ru
    "Language",  // en
    "语言",  // zh
    "Мова",  // uk
    "Sprache",  // de
    "Sprog",  // da
    "Język",  // pl
    "Språk",  // no
    "Språk",  // sv
    "Kieli",  // fi
    // 440
    "Информация",  // ru
    "Information",  // en
    "信息",  // zh
    "Інформація",  // uk
    "Informationen",  // de
    "Information",  // da
    "Informacje",  // pl
    "Informasjon",  // no
    "Information",  // sv
    "Tiedot",  // fi
    // 450
    "Таймер задержки выключения",  // ru
    "Turn-off delay timer",  // en
    "延时关闭定时器",  // zh
    "Таймер затримки вимкнення",  // uk
    "Nachlaufzeit",  // de
    "Efterløbstid",  // da
    "Opóźnienie wyłączenia",  // pl
    "Etterløpstid",  // no
    "Eftergångstid",  // sv
    "Jälkikäyntiaika",  // fi
    // 460
    "Таймер ночного режима",  // ru
    "Night mode timer",  // en
    "夜间模式定时器",  // zh
    "Таймер нічного режиму",  // uk
    "Nachtmodus-Timer",  // de
    "Timer for nattilstand",  // da
    "Timer trybu nocnego",  // pl
    "Timer for nattmodus",  // no
    "Timer för nattläge",  // sv
    "Yötilan ajastin",  // fi
    // 470
    "Таймер «Вечеринка»",  // ru
    "Party mode timer",  // en
    "派对模式定时器",  // zh
    "Таймер режиму «Вечірка»",  // uk
    "Partymodus-Timer",  // de
    "Timer for festtilstand",  // da
    "Timer trybu imprezowego",  // pl
    "Timer for festmodus",  // no
    "Timer för festläge",  // sv
    "Juhlatilan ajastin",  // fi
    // 480
    "Датчик влажности",  // ru
    "Humidity sensor",  // en
    "湿度传感器",  // zh
    "Датчик вологості",  // uk
    "Feuchtesensor",  // de
    "Fugtføler",  // da
    "Czujnik wilgotności",  // pl
    "Fuktføler",  // no
    "Fuktgivare",  // sv
    "Kosteusanturi",  // fi
    // 490
    "Релейный датчик",  // ru
    "Relay sensor",  // en
    "继电器传感器",  // zh
    "Релейний датчик",  // uk
    "Relaissensor",  // de
    "Relæføler",  // da
    "Czujnik przekaźnikowy",  // pl
    "Reléføler",  // no
    "Relägivare",  // sv
    "Releanturi",  // fi
    // 500
    "Датчик 0 - 10В",  // ru
    "0 - 10V sensor",  // en
    "0 - 10V 传感器",  // zh
    "Датчик 0 - 10В",  // uk
    "0 - 10V-Sensor",  // de
    "0 - 10V-føler",  // da
    "Czujnik 0 - 10V",  // pl
    "0 - 10V-føler",  // no
    "0 - 10V-givare",  // sv
    "0 - 10V-anturi",  // fi
    // 510
    "Версия: ",  // ru
    "Version: ",  // en
    "版本: ",  // zh
    "Версія: ",  // uk
    "Version: ",  // de
    "Version: ",  // da
    "Wersja: ",  // pl
    "Versjon: ",  // no
    "Version: ",  // sv
    "Versio: ",  // fi
    // 520
    "Разработано для Aldrun",  // ru
    "Developed for Aldrun",  // en
    "为 Aldrun 开发",  // zh
    "Розроблено для Aldrun",  // uk
    "Entwickelt für Aldrun",  // de
    "Udviklet til Aldrun",  // da
    "Opracowano dla Aldrun",  // pl
    "Utviklet for Aldrun",  // no
    "Utvecklad för Aldrun",  // sv
    "Kehitetty Aldrunille",  // fi
    // 530
    "Руководство пользователя",  // ru
    "User Manual",  // en
    "用户手册",  // zh
    "Посібник користувача",  // uk
    "Bedienungsanleitung",  // de
    "Brugervejledning",  // da
    "Instrukcja obsługi",  // pl
    "Brukerveiledning",  // no
    "Bruksanvisning",  // sv
    "Käyttöohje",  // fi
    // 540
    "   Нет устройств",  // ru
    "   No devices",  // en
    "   沒有設備",  // zh
    "   Немає пристроїв",  // uk
    "   Keine Geräte",  // de
    "   Ingen enheder",  // da
    "   Brak urządzeń",  // pl
    "   Ingen enheter",  // no
    "   Inga enheter",  // sv
    "   Ei laitteita",  // fi
    // 550
    "Пожалуйста, выберите устройство",  // ru
    "Select device",  // en
    "请选择设备",  // zh
    "Будь ласка, виберіть пристрій",  // uk
    "Bitte ein Gerät wählen",  // de
    "Vælg venligst en enhed",  // da
    "Proszę wybrać urządzenie",  // pl
    "Vennligst velg en enhet",  // no
    "Välj en enhet",  // sv
    "Valitse ensin laite",  // fi
    // 560
    "Пожалуйста, подождите...",  // ru
    "Please wait...",  // en
    "请稍候...",  // zh
    "Будь ласка, зачекайте...",  // uk
    "Bitte warten...",  // de
    "Vent venligst...",  // da
    "Proszę czekać...",  // pl
    "Vennligst vent...",  // no
    "Vänta...",  // sv
    "Odota...",  // fi
    // 570
    "Длина имени сети Wi-Fi должна быть от 1 до 32 символов",  // ru
    "The length of name of Wi-Fi must be 1 - 32 characters",  // en
    "Wi-Fi 名称长度必须为 1 - 32 个字符",  // zh
    "Довжина назви мережі Wi-Fi має бути від 1 до 32 символів",  // uk
    "Der WLAN-Name muss 1 - 32 Zeichen lang sein",  // de
    "Wi-Fi-navnet skal være på 1 - 32 tegn",  // da
    "Nazwa sieci Wi-Fi musi mieć od 1 do 32 znaków",  // pl
    "Wi-Fi-navnet må være på 1 - 32 tegn",  // no
    "Wi-Fi-namnet måste vara 1 - 32 tecken långt",  // sv
    "Wi-Fi-verkon nimen pituuden on oltava 1 - 32 merkkiä",  // fi
    // 580
    "Длина пароля должна быть от 8 до 60 символов",  // ru
    "The length of password must be 8 - 60 characters",  // en
    "密码长度必须为 8 - 60 个字符",  // zh
    "Довжина пароля має бути від 8 до 60 символів",  // uk
    "Das Passwort muss 8 - 60 Zeichen lang sein",  // de
    "Adgangskoden skal være på 8 - 60 tegn",  // da
    "Hasło musi mieć od 8 do 60 znaków",  // pl
    "Passordet må være på 8 - 60 tegn",  // no
    "Lösenordet måste vara 8 - 60 tecken långt",  // sv
    "Salasanan pituuden on oltava 8 - 60 merkkiä",  // fi
    // 590
    "Пожалуйста, закройте \"Service Aldrun Quillo\"",  // ru
    "Please close \"Service Aldrun Quillo\"",  // en
    "請關閉 \"Service Aldrun Quillo\"",  // zh
    "Будь ласка, закрийте \"Service Aldrun Quillo\"",  // uk
    "Bitte \"Service Aldrun Quillo\" schließen",  // de
    "Luk venligst \"Service Aldrun Quillo\"",  // da
    "Proszę o zamknięcie \"Service Aldrun Quillo\"",  // pl
    "Vennligst lukk \"Service Aldrun Quillo\"",  // no
    "Stäng ”Service Aldrun Quillo”",  // sv
    "Sulje Aldrun Quillo",  // fi
    // 600
    "Усиление в текущем режиме",  // ru
    "Boost in current mode",  // en
    "在当前模式下提高风量",  // zh
    "Посилення в поточному режимі",  // uk
    "Intensivlüftung im aktuellen Modus",  // de
    "Forcering i aktuel tilstand",  // da
    "Intensywna wentylacja w bieżącym trybie",  // pl
    "Forsering i gjeldende modus",  // no
    "Forcering i aktuellt läge",  // sv
    "Tehostus nykyisessä tilassa",  // fi
    // 610
    "Усиление и переключение на вытяжку",  // ru
    "Boost and switch to exhaust mode",  // en
    "提高风量并切换到排风模式",  // zh
    "Посилення та перемикання на витяжку",  // uk
    "Intensivlüftung und Wechsel zu Abluft",  // de
    "Forcering og skift til udsugning",  // da
    "Intensywna wentylacja i zmiana na wywiew",  // pl
    "Forsering og bytte til avtrekk",  // no
    "Forcering och byte till frånluft",  // sv
    "Tehostus ja siirtyminen poistoilmalle",  // fi
    // 620
    "Сценарий управления влажностью:",  // ru
    "Humidity control scenario:",  // en
    "湿度控制方案：",  // zh
    "Сценарій керування вологістю:",  // uk
    "Szenario der Feuchteregelung:",  // de
    "Scenarie for fugtstyring:",  // da
    "Scenariusz sterowania wilgotnością:",  // pl
    "Scenario for fuktstyring:",  // no
    "Scenario för fuktstyrning:",  // sv
    "Kosteusohjauksen skenaario:",  // fi
    // 630
    "Основной шлюз",  // ru
    "Default Gateway",  // en
    "默认网关",  // zh
    "Основний шлюз",  // uk
    "Standardgateway",  // de
    "Standardgateway",  // da
    "Brama domyślna",  // pl
    "Standardgateway",  // no
    "Standardgateway",  // sv
    "Oletusyhdyskäytävä",  // fi
    // 640
    "Пароль может содержать только латинские буквы, цифры и спецсимволы",  // ru
    "The password may contain only Latin letters, digits and symbols",  // en
    "密码只能包含英文字母、数字和符号",  // zh
    "Пароль може містити лише латинські літери, цифри та спецсимволи",  // uk
    "Das Passwort darf nur Buchstaben A-Z, Ziffern und Sonderzeichen enthalten",  // de
    "Adgangskoden må kun indeholde bogstaverne A-Z, tal og specialtegn",  // da
    "Hasło może zawierać tylko litery A-Z, cyfry i znaki specjalne",  // pl
    "Passordet kan bare inneholde bokstavene A-Z, sifre og spesialtegn",  // no
    "Lösenordet får bara innehålla bokstäverna A-Z, siffror och specialtecken",  // sv
    "Salasana saa sisältää vain kirjaimia A-Z, numeroita ja erikoismerkkejä",  // fi
});
// clang-format on

static_assert(std::ranges::none_of(MessageTable, &std::string_view::empty),
              "every language needs a text for every message");

}  // namespace quillo::lang
