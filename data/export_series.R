# Writes the panel series of the R datasets package into this folder in the layout of
# README.md: a header line, "," between fields, "." as decimal point, no quoting, LF line
# ends, at most the first 990 observations. Run from this folder: Rscript export_series.R
# The files are committed; nothing in the build needs R.

# Each value on its own, in the fewest digits that give it back (up to 15 significant).
num <- function(x) vapply(x, function(v) format(v, digits = 15, scientific = FALSE), "")

write_table <- function(file, columns) {
  n <- min(nrow(columns), 990)
  columns <- columns[seq_len(n), , drop = FALSE]
  lines <- c(paste(names(columns), collapse = ","),
             do.call(paste, c(lapply(columns, num), sep = ",")))
  con <- file(file, "wb")
  writeLines(lines, con, sep = "\n")
  close(con)
}

# Monthly or quarterly series: Year, the month or quarter within it, the value.
periodic <- function(file, x, period, value) {
  t <- time(x)
  year <- floor(t + 1e-9)
  sub <- round((t - year) * frequency(x)) + 1
  columns <- data.frame(year, sub, as.numeric(x))
  names(columns) <- c("Year", period, value)
  write_table(file, columns)
}

# Series with one value per year, or per step of another unit.
stepped <- function(file, x, step, value) {
  columns <- data.frame(as.numeric(time(x)), as.numeric(x))
  names(columns) <- c(step, value)
  write_table(file, columns)
}

periodic("co2_full.csv", co2, "Month", "CO2")
periodic("nottem_full.csv", nottem, "Month", "Temperature")
periodic("ukdriverdeaths_full.csv", UKDriverDeaths, "Month", "Deaths")
periodic("usaccdeaths_full.csv", USAccDeaths, "Month", "Deaths")
periodic("ldeaths_full.csv", ldeaths, "Month", "Deaths")
periodic("seatbelts_front_full.csv", Seatbelts[, "front"], "Month", "FrontSeat")
periodic("ukgas_full.csv", UKgas, "Quarter", "Gas")
periodic("johnsonjohnson_full.csv", JohnsonJohnson, "Quarter", "Earnings")
periodic("austres_full.csv", austres, "Quarter", "Residents")
stepped("lynx_full.csv", lynx, "Year", "Trappings")
stepped("lakehuron_full.csv", LakeHuron, "Year", "Level")
stepped("sunspot_year_full.csv", sunspot.year, "Year", "Sunspots")
stepped("airmiles_full.csv", airmiles, "Year", "Miles")
stepped("nhtemp_full.csv", nhtemp, "Year", "Temperature")
stepped("discoveries_full.csv", discoveries, "Year", "Discoveries")
stepped("treering_990.csv", treering, "Year", "Width")
stepped("wwwusage_full.csv", WWWusage, "Minute", "Users")
stepped("bjsales_full.csv", BJsales, "Period", "Sales")
stepped("lh_full.csv", lh, "Sample", "Hormone")
write_table("airquality_temp_full.csv",
            data.frame(Month = airquality$Month, Day = airquality$Day, Temp = airquality$Temp))
write_table("beaver2_full.csv",
            data.frame(Day = beaver2$day, Time = beaver2$time, Temp = beaver2$temp))
# The later 990 business days of the four stock indices (1994-1998), numbered as in
# eustockmarkets_full.
late <- 871:1860
write_table("eustockmarkets_last990.csv",
            data.frame(Day = late, DAX = EuStockMarkets[late, "DAX"], SMI = EuStockMarkets[late, "SMI"],
                       CAC = EuStockMarkets[late, "CAC"], FTSE = EuStockMarkets[late, "FTSE"]))
